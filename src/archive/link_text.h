#pragma once
// How a path inside the archive is written as a link, by the index pages and the
// rewritten pages alike. Archive names and domains come from cache files and web
// servers ("my%20page[1].htm", "a#b.htm"), and a browser reads "%", "#", "?" and
// blanks in a link as escapes, fragment, query or the link's end, so every such
// byte is percent-encoded; the link then leads to the file of exactly that name.

#include <string>
#include <string_view>

namespace arkivo {

// A relative link to path for an HREF or SRC value, quoted or not: every byte
// outside the letters, digits and "-._~!$()*+,;@/{}" is percent-encoded.
std::string LinkText(std::string_view path);

}  // namespace arkivo
