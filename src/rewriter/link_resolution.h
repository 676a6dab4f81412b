#pragma once
// Turning a link as written in a page into an absolute address in the form the
// cache readers give item URLs ("http://" + host + ":" + port + path), so that it
// can be looked up among archived items. Links and bases of any length are
// handled whole.

#include <cstddef>
#include <string>
#include <string_view>

namespace arkivo {

// The base that relative links of the page at address resolve against: the
// address without a leading "http://" (any case) and cut after its last "/", so
// "http://host:80/dir/index.htm" gives "host:80/dir/". An address without "/"
// stays whole.
std::string LinkBase(std::string_view address);

// True when link begins with a scheme other than http and https ("javascript:",
// "mailto:", "news:", "ftp:", "data:", "about:"): it leads nowhere in the archive
// and is left as it is written. A scheme is a letter followed by letters, digits,
// "+", "-" or ".", and then ":".
bool NamesOtherScheme(std::string_view link);

// The absolute form of link against base (a LinkBase result):
// - "#...", "news:..." and "mailto:..." give the empty text;
// - the fragment is dropped; "http//" is mended to "http://" and "https://" taken
//   as "http://";
// - a link that does not begin with a scheme and "://" is relative: "/x" to the
//   base's host, "x" to the base;
// - http links are rebuilt as "http://" + host + ":" + port + path (host lower
//   case, port 80 when none is given), other schemes pass unchanged;
// - "\" becomes "/", "/./" becomes "/", and each "/../" removes the path segment
//   before it, but never the host.
std::string ResolveLink(std::string_view link, std::string_view base);

}  // namespace arkivo
