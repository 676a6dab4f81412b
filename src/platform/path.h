#pragma once
// Path spelling on this platform. This is the one place that names the separator;
// every other file builds paths through these helpers.

#include <string>
#include <string_view>

namespace arkivo {

inline constexpr char PathSeparator = '/';

// True when the text ends with the separator.
bool HasTrailingSeparator(std::string_view path);

// The path with one separator appended when it has none (an empty path stays empty).
std::string IncludeTrailingSeparator(std::string path);

// The path without its trailing separators ("/" itself is kept).
std::string ExcludeTrailingSeparator(std::string path);

// Everything up to and including the last separator; empty when there is none.
std::string DirectoryPart(std::string_view path);

// Everything after the last separator; the whole text when there is none.
std::string FileNamePart(std::string_view path);

// dir + name, with exactly one separator between them when dir is not empty.
std::string JoinPath(std::string_view dir, std::string_view name);

// A name that is safe to use as one component of a path: not empty, not "." or
// "..", and free of separators and NUL bytes. Names from untrusted files must pass
// this before they become part of a path.
bool IsSafePathComponent(std::string_view name);

}  // namespace arkivo
