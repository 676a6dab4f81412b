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

// "http://" + host + ":" + port + path, through the 255-byte URL splitting.
std::string RebuildHttpLink(const std::string& link) {
    std::string rest = link;
    const std::string host = SplitHostShort(rest);
    const int port = SplitPortShort(rest);
    const std::string path = SplitPathShort(rest);
    return CutTo("http://" + host + ":" + std::to_string(port) + path, MaxLinkLength);
}

void RemoveDotSegments(std::string& link) {
    for (std::size_t dot = link.find("/./"); dot != std::string::npos; dot = link.find("/./")) {
        link.erase(dot, 2);
    }
    // The segment before a "/../" goes with it, unless that segment is the host
    // (a link that climbs above the root stays at the root, as browsers do).
    for (std::size_t up = link.find("/../"); up != std::string::npos; up = link.find("/../")) {
        link.erase(up, 3);
        const std::size_t previous = up == 0 ? std::string::npos : link.rfind('/', up - 1);
        const std::size_t from = previous == std::string::npos ? 0 : previous;
        const std::size_t scheme = link.find("://");
        const bool climbsOverHost = scheme != std::string::npos && up >= scheme + 3 &&
                                    (previous == std::string::npos || previous < scheme + 3);
        if (!climbsOverHost) {
            link.erase(from, up - from);
        }
    }
}

}  // namespace

std::string LinkBase(std::string_view address) {
    if (StartsWithNoCase(address, "HTTP://")) {
        address.remove_prefix(7);
    }
    const std::size_t slash = address.rfind('/');
    if (slash != std::string_view::npos && slash + 1 != address.size()) {
        address = address.substr(0, slash + 1);
    }
    return CutTo(address, MaxLinkLength);
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
    if (resolved.find("://") == std::string::npos) {
        if (StartsWithNoCase(resolved, "HTTP:")) {
            resolved.erase(0, 5);
        }
        const std::string_view root =
            !resolved.empty() && resolved[0] == '/' ? base.substr(0, base.find('/')) : base;
        resolved = CutTo("http://" + std::string(root) + resolved, MaxLinkLength);
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
