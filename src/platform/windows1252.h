#pragma once
// The core keeps texts as bytes of the Windows ANSI code page (Windows-1252), as the
// files it reads and writes hold them. Windows show and take UTF-8 text; these two
// functions convert at that boundary.

#include <string>
#include <string_view>

namespace arkivo {

// Every byte becomes its character: 0x80 to 0x9F by the code page's table (the five
// bytes the code page leaves undefined map to the C1 control of the same number),
// the rest as in Latin-1.
std::string Windows1252ToUtf8(std::string_view bytes);

// Whether bytes are well-formed UTF-8 as RFC 3629 defines it: no overlong forms,
// no surrogates (U+D800 to U+DFFF), nothing past U+10FFFF, no lead byte beyond F4.
bool IsValidUtf8(std::string_view bytes);

// The reverse; a character the code page cannot hold, or a byte that is not valid
// UTF-8, becomes "?".
std::string Utf8ToWindows1252(std::string_view text);

}  // namespace arkivo
