#pragma once
// The title of a cached HTML page, for the index pages that list it.

#include <cstddef>
#include <string>
#include <string_view>

namespace arkivo {

inline constexpr std::size_t MaxTitleLength = 100;

// The text after the first tag whose name begins with "title" (any case; only the
// first 15 bytes of a tag are looked at), up to the next "<": at most 100 bytes,
// bytes 0x0D and below (tabs, line ends) dropped, blanks trimmed from both ends.
// Comments are skipped the way the page pass skips them. Empty when the page has
// no such tag.
std::string ExtractTitle(std::string_view page);

}  // namespace arkivo
