#include "model/url.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "platform/byte_set.h"
#include "platform/whole_number.h"

namespace arkivo {
namespace {

constexpr std::size_t ShortLimit = 255;

// Control bytes count as blanks: index strings may carry line ends, tabs or NUL padding.
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
}

// Whether text starts with prefix (given in upper case), ignoring the case of text;
// compared in place, as URLs are split by the ten thousand.
bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (UpperChar(text[i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// Where needle (given in upper case) first occurs in text ignoring the case of
// text; npos when it does not.
std::size_t FindNoCase(std::string_view text, std::string_view needle) {
    for (std::size_t at = 0; at + needle.size() <= text.size(); ++at) {
        if (UpperChar(text[at]) == needle[0] && StartsWithNoCase(text.substr(at), needle)) {
            return at;
        }
    }
    return std::string_view::npos;
}

// Splits at the first ":" when it comes before the first "/", else at the first "/".
std::string TakeHost(std::string& text) {
    const auto colon = text.find(':');
    const auto slash = text.find('/');
    // A ":" after the first "/" belongs to the path, not to a port.
    std::size_t split = std::string::npos;
    if (colon != std::string::npos && (slash == std::string::npos || colon < slash)) {
        split = colon;
    } else {
        split = slash;
    }
    std::string host;
    if (split == std::string::npos) {
        host = LowerCase(text);
        text.clear();
    } else {
        host = LowerCase(std::string_view(text).substr(0, split));
        text.erase(0, split);
    }
    // The host names a directory in both families, so both cut it to a file name's
    // length; "http:///x" leaves it empty.
    host.resize(std::min(host.size(), ShortLimit));
    return host.empty() ? std::string(NoHost) : host;
}

// Clears the remainder too, so that the port and path taken from it are 80 and "/".
std::string RejectedHost(std::string& text) {
    text.clear();
    return std::string(NoHost);
}

int TakePort(std::string& text) {
    if (text.empty() || text[0] != ':') {
        return DefaultPort;
    }
    const auto slash = text.find('/');
    const std::size_t end = slash == std::string::npos ? text.size() : slash;
    // A port that is no number is dropped all the same, not left in front of the path.
    const std::string digits = text.substr(1, end - 1);
    text.erase(0, end);
    return ParseWholeNumber(digits).value_or(DefaultPort);
}

std::string TakePath(const std::string& remainder) {
    std::string path = TrimUrl(remainder);
    if (path.empty()) {
        return "/";
    }
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperChar(a[i]) != UpperChar(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
    }
    return lower;
}

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - ('a' - 'A'));
        }
    }
    return upper;
}

std::string CutTo(std::string_view text, std::size_t limit) {
    return std::string(text.substr(0, limit));
}

std::string TrimUrl(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first])) {
        ++first;
    }
    while (last > first && IsBlank(text[last - 1])) {
        --last;
    }
    return std::string(text.substr(first, last - first));
}

std::string SplitHost(std::string& url) {
    std::string text = TrimUrl(url);
    // A URL may come as a request line ("GET http://h/x HTTP/1.0"). The protocol tail
    // needs its space here, so "/HTTP/1.0" inside a path stays.
    const auto protocolTail = FindNoCase(text, " HTTP/1.0");
    if (protocolTail != std::string::npos) {
        text.erase(protocolTail);
    }
    // Only one request word comes off; results already on disk depend on it.
    if (StartsWithNoCase(text, "GET ")) {
        text.erase(0, 4);
    } else if (StartsWithNoCase(text, "POST ") || StartsWithNoCase(text, "HEAD ")) {
        text.erase(0, 5);
    }
    // VISITED: and COOKIE: are history and cookie entries of an IE index, not cached
    // pages. Only "mailto://" matches; a plain "mailto:x" gives the host "mailto".
    for (std::string_view scheme :
         {"FTP://", "FILE://", "GOPHER://", "NEWS://", "VISITED:", "COOKIE:", "MAILTO://"}) {
        if (StartsWithNoCase(text, scheme)) {
            return RejectedHost(url);
        }
    }
    if (StartsWithNoCase(text, "HTTP://")) {
        text.erase(0, 7);
    } else if (StartsWithNoCase(text, "HTTPS://")) {
        text.erase(0, 8);
    }
    // Before the host is taken, so that "h\\dir\\f.gif" splits at the host's end.
    for (char& c : text) {
        if (c == '\\') {
            c = '/';
        }
    }
    std::string host = TakeHost(text);
    url = std::move(text);
    return host;
}

int SplitPort(std::string& remainder) {
    return TakePort(remainder);
}

std::string SplitPath(const std::string& remainder) {
    return TakePath(remainder);
}

std::string CanonicalUrl(std::string_view url) {
    std::string text(url);
    const std::string host = SplitHost(text);
    const int port = SplitPort(text);
    const std::string path = SplitPath(text);
    if (port == DefaultPort && host != NoHost) {
        return "http://" + host + path;
    }
    return std::string(url);
}

std::string SplitHostShort(std::string& url) {
    std::string text = TrimUrl(std::string_view(url).substr(0, ShortLimit));
    // Unlike the full family, each word is tried once in this order (so "POST HEAD GET "
    // all come off), and the protocol tail is cut without its space, even inside a path.
    for (std::string_view word : {"POST ", "HEAD ", "GET "}) {
        if (StartsWithNoCase(text, word)) {
            text.erase(0, word.size());
        }
    }
    const auto protocolTail = FindNoCase(text, "HTTP/1.0");
    if (protocolTail != std::string::npos) {
        text.erase(protocolTail);
    }
    for (std::string_view scheme : {"FILE://", "GOPHER://", "HTTPS://", "NEWS:", "MAILTO:"}) {
        if (StartsWithNoCase(text, scheme)) {
            return RejectedHost(url);
        }
    }
    // ftp is filed as if it were http. Backslashes are not turned into "/" first, so a
    // Windows-style path stays part of the host in this family.
    if (StartsWithNoCase(text, "HTTP://")) {
        text.erase(0, 7);
    } else if (StartsWithNoCase(text, "FTP://")) {
        text.erase(0, 6);
    }
    std::string host = TakeHost(text);
    url = std::move(text);
    return host;
}

int SplitPortShort(std::string& remainder) {
    return TakePort(remainder);
}

std::string SplitPathShort(const std::string& remainder) {
    return CutTo(TakePath(remainder), ShortLimit);
}

std::string CanonicalUrlShort(std::string_view url) {
    const std::string input = CutTo(url, ShortLimit);
    std::string text = input;
    const std::string host = SplitHostShort(text);
    const int port = SplitPortShort(text);
    const std::string path = SplitPathShort(text);
    // One byte shorter than the input bound; archive file names are taken from this text.
    if (port == DefaultPort && host != NoHost) {
        return CutTo("http://" + host + path, ShortLimit - 1);
    }
    return input;
}

std::string LastPathSegment(std::string_view url) {
    const auto slash = url.rfind('/');
    return CutTo(slash == std::string_view::npos ? url : url.substr(slash + 1), ShortLimit);
}

std::string FileNameSafe(std::string_view text) {
    // The ASCII punctuation DOS allows in 8.3 names and '.', so that a domain
    // directory is a valid name on any file system.
    static constexpr ByteSet safe = AlphanumericsAnd("!#$%&'()-@^_`{}~.");
    text = text.substr(0, ShortLimit);
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (safe[static_cast<unsigned char>(c)]) {
            result += c;
        }
    }
    return result;
}

}  // namespace arkivo
