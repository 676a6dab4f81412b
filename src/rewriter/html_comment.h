#pragma once
// Where an HTML comment ends, as the page pass and the title search see it.
//
// A comment runs from "<!--" to the next "-->". A page may hold a comment that is
// never closed; searching the rest of the page for "-->" at every such comment
// would make the scan quadratic and would swallow the page, so the first unclosed
// comment turns the page's comment switch off, and from then on every comment ends
// at its first ">".

#include <cstddef>
#include <string_view>

namespace arkivo {

// The position just after the comment whose text starts at from (the byte after
// "<!--"): after its "-->" while commentSwitch is on and one is found; otherwise
// (the switch is turned off when no "-->" is left) after the next ">", or the end of
// the page.
std::size_t CommentEnd(std::string_view page, std::size_t from, bool& commentSwitch);

}  // namespace arkivo
