#pragma once
// Where the tool's texts go: results to standard output, messages (prefixed
// "arkivo: ") to standard error.

#include <cstddef>
#include <string>
#include <string_view>

namespace arkivo::cli {

// Writes a result; false when standard output cannot take it.
bool Print(const std::string& text);

// Writes one message line to standard error. Text taken from a cache, an archive
// or the core's messages goes in through PrintableText or PlainLines.
void Complain(const std::string& message);

// The text with every byte below 0x20 and 0x7F shown as "\xHH" (upper-case hex), so
// that a URL or a name from a cache or an archive can neither send the terminal a
// command (ESC, BEL) nor break a line or a column (LF, CR, TAB).
std::string PrintableText(std::string_view text);

// A message box text for a terminal: each CR LF becomes one line end; every other
// control byte is shown as PrintableText shows it.
std::string PlainLines(std::string_view text);

// "1 item", "2 items".
std::string ItemCount(std::size_t count);

}  // namespace arkivo::cli
