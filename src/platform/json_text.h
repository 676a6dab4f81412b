#pragma once
// JSON string literals for the command line's output and web archive indexes. Texts from a cache
// are bytes of the Windows ANSI code page; paths of this system are UTF-8. A text that is
// well-formed UTF-8 (strictly: no surrogates, overlong forms or code points past
// U+10FFFF) is kept as it is, any other is read as Windows-1252, so the output is
// always valid UTF-8 JSON that a strict decoder accepts.

#include <string>
#include <string_view>

namespace arkivo {

// The text as a quoted JSON string.
std::string JsonString(std::string_view text);

// The same appended to out, for output built item by item.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace arkivo
