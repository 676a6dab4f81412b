#pragma once
// Taking cache URLs apart and rebuilding them in one canonical form, and turning
// hosts into names that are safe in a file system.
//
// Two splitting families exist side by side because their results end up on disk
// (domain directories, URLs in archive.dat, file names) and each is used where it
// always was:
//   - the full family (SplitHost, SplitPort, SplitPath, CanonicalUrl) works on text
//     of any length; it drops ftp, file, gopher, news, visited:, cookie: and mailto
//     addresses and keeps https;
//   - the short family (...Short) works on at most 255 characters (longer results
//     are cut; a rebuilt URL at 254); it drops https, file, gopher, news: and
//     mailto: and keeps ftp.
// Scheme and request-word tests ignore letter case; the host comes back in lower
// case; a rejected or empty host is the sentinel "NONE".

#include <string>
#include <string_view>

namespace arkivo {

inline constexpr std::string_view NoHost = "NONE";
inline constexpr int DefaultPort = 80;

// The text without leading and trailing blanks (characters of code 32 or below).
std::string TrimUrl(std::string_view text);

// Takes the host off the front of url; url is left holding the remainder (":port/path",
// "/path" or nothing).
std::string SplitHost(std::string& url);
// Takes ":port" off the front of the remainder; 80 when there is none or it is no
// whole number. The text is left holding the path.
int SplitPort(std::string& remainder);
// The path: trimmed, backslashes turned into "/", "/" when empty.
std::string SplitPath(const std::string& remainder);
// "http://" + host + path when the port is 80 and the host is kept; otherwise the
// input exactly as it was passed in.
std::string CanonicalUrl(std::string_view url);

std::string SplitHostShort(std::string& url);
int SplitPortShort(std::string& remainder);
std::string SplitPathShort(const std::string& remainder);
std::string CanonicalUrlShort(std::string_view url);

// The text after the last "/" (the whole text when there is none), at most 255 bytes.
std::string LastPathSegment(std::string_view url);

// The text (at most 255 bytes of it) with every character removed that is not
// usable in a directory name; the result may be empty.
std::string FileNameSafe(std::string_view text);

// ASCII lower and upper case copies.
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);

// Whether two texts are the same but for ASCII letter case.
bool EqualsNoCase(std::string_view a, std::string_view b);

// The text without its leading and trailing spaces and tabs.
std::string_view TrimBlanks(std::string_view text);

// Cuts text to at most limit bytes.
std::string CutTo(std::string_view text, std::size_t limit);

}  // namespace arkivo
