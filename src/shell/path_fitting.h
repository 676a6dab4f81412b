#pragma once
// Shortening a text to a width, for status lines: a path loses its leading
// directories one at a time, each step putting "..." in their place
// (/home/me/Web Tools/Archive, /.../me/Web Tools/Archive, /.../Web Tools/Archive,
// /.../Archive, .../Archive, Archive), stopping at the first that fits; any other
// text loses characters from its end and gains "...". The width of a text comes
// from a measure the caller supplies (a font's, or a fake one in tests).

#include <functional>
#include <string>
#include <string_view>

namespace arkivo {

// Width of a text in pixels.
using TextWidthMeasure = std::function<int(std::string_view text)>;

// One step of path shortening on a directory part (ending in a separator): the
// first directory after a leading "..." is replaced by "...", a leading separator
// kept; "/" alone becomes empty, and so does a part with one directory left.
std::string ElideFirstDirectory(std::string directory);

// The path shortened directory by directory until measure says it fits within
// width; at worst the file name part alone, even when that does not fit.
std::string FitPathToWidth(std::string_view path, int width, const TextWidthMeasure& measure);

// The text cut character by character from its end, with "..." appended, until it
// fits within width; the text itself when it fits, "..." when nothing of it does.
std::string FitTextToWidth(std::string_view text, int width, const TextWidthMeasure& measure);

}  // namespace arkivo
