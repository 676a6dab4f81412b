#pragma once
// Where the tool's texts go: results to standard output, messages (prefixed
// "arkivo: ") to standard error.

#include <cstddef>
#include <string>
#include <string_view>

namespace arkivo::cli {

// Writes a result; false when standard output cannot take it.
bool Print(const std::string& text);

// Writes one message line to standard error.
void Complain(const std::string& message);

// A message box text for a terminal: each CR LF becomes one line end.
std::string PlainLines(std::string_view text);

// "1 item", "2 items".
std::string ItemCount(std::size_t count);

}  // namespace arkivo::cli
