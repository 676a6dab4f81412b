#include "rewriter/link_resolution.h"

#include "model/url.h"

namespace arkivo {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view upperPrefix) {
    if (text.size() < upperPrefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < upperPrefix.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - ('a' - 'A'));
        }
        if (c != upperPrefix[i]) {
            return false;
        }
    }
    return true;
}

// "http://" + host + ":" + port + path, taken apart with the URL splitting that
// works on text of any length.
std::string RebuildHttpLink(const std::string& link) {
    std::string rest = link;
    const std::string host = SplitHost(rest);
    const int port = SplitPort(rest);
    const std::string path = SplitPath(rest);
    return "http://" + host + ":" + std::to_string(port) + path;
}

// "/./" becomes "/", and each "/../" becomes "/" with the segment before it removed
// (never the host: a link that climbs above the root stays at the root, as browsers
// do). The result is that of replacing the leftmost match again and again, reached
// in one pass: a match only ever appears at the end of what is kept so far.
void RemoveDotSegments(std::string& link) {
    std::string kept;
    kept.reserve(link.size());
    for (char c : link) {
        kept += c;
        if (kept.ends_with("/./")) {
            kept.resize(kept.size() - 2);
        }
    }
    link.swap(kept);
    kept.clear();
    std::size_t scheme = std::string::npos;  // the first "://" kept
    for (char c : link) {
        kept += c;
        if (scheme == std::string::npos && kept.ends_with("://")) {
            scheme = kept.size() - 3;
        }
        if (!kept.ends_with("/../")) {
            continue;
        }
        const std::size_t up = kept.size() - 4;
        kept.resize(up + 1);
        const std::size_t previous = up == 0 ? std::string::npos : kept.rfind('/', up - 1);
        const std::size_t from = previous == std::string::npos ? 0 : previous;
        const bool climbsOverHost = scheme != std::string::npos && up >= scheme + 3 &&
                                    (previous == std::string::npos || previous < scheme + 3);
        if (!climbsOverHost) {
            kept.erase(from, up - from);
            if (scheme != std::string::npos && from < scheme + 3) {
                // The "://" moved or went with the segment; one may start where the two
                // parts meet.
                scheme = kept.find("://", from < 2 ? 0 : from - 2);
            }
        }
    }
    link = std::move(kept);
}

// The length of the scheme link begins with (a letter, then letters, digits, "+", "-"
// or ".", then ":"), without the ":"; 0 when it begins with none.
std::size_t SchemeLength(std::string_view link) {
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (link.empty() || !isLetter(link[0])) {
        return 0;
    }
    std::size_t end = 1;
    while (end < link.size() && (isLetter(link[end]) || (link[end] >= '0' && link[end] <= '9') ||
                                 link[end] == '+' || link[end] == '-' || link[end] == '.')) {
        ++end;
    }
    return end < link.size() && link[end] == ':' ? end : 0;
}

}  // namespace

bool NamesOtherScheme(std::string_view link) {
    const std::string_view scheme = link.substr(0, SchemeLength(link));
    if (scheme.empty()) {
        return false;
    }
    return !(scheme.size() == 4 && StartsWithNoCase(scheme, "HTTP")) &&
           !(scheme.size() == 5 && StartsWithNoCase(scheme, "HTTPS"));
}

std::string LinkBase(std::string_view address) {
    if (StartsWithNoCase(address, "HTTP://")) {
        address.remove_prefix(7);
    }
    const std::size_t slash = address.rfind('/');
    if (slash != std::string_view::npos && slash + 1 != address.size()) {
        address = address.substr(0, slash + 1);
    }
    return std::string(address);
}

std::string ResolveLink(std::string_view link, std::string_view base) {
    if ((!link.empty() && link[0] == '#') || StartsWithNoCase(link, "NEWS:") ||
        StartsWithNoCase(link, "MAILTO:")) {
        return {};
    }
    std::string resolved(link.substr(0, link.find('#')));
    if (StartsWithNoCase(resolved, "HTTP//")) {
        resolved.insert(4, 1, ':');
    }
    if (StartsWithNoCase(resolved, "HTTPS://")) {
        resolved.erase(4, 1);
    }
    // Only a scheme and "://" at the front make a link absolute: "go.cgi?to=http://x"
    // is a relative link all the same.
    const std::size_t scheme = SchemeLength(resolved);
    if (scheme == 0 || resolved.compare(scheme, 3, "://") != 0) {
        if (StartsWithNoCase(resolved, "HTTP:")) {
            resolved.erase(0, 5);
        }
        const std::string_view root =
            !resolved.empty() && resolved[0] == '/' ? base.substr(0, base.find('/')) : base;
        resolved.insert(0, "http://" + std::string(root));
    }
    if (StartsWithNoCase(resolved, "HTTP://")) {
        resolved = RebuildHttpLink(resolved);
    }
    for (char& c : resolved) {
        if (c == '\\') {
            c = '/';
        }
    }
    RemoveDotSegments(resolved);
    return resolved;
}

}  // namespace arkivo
