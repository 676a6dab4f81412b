#pragma once
// The HTTP response head Internet Explorer stored with a cache entry, made fit to
// stand before the cached bytes in a WARC response record.
//
// The stored text is the status line and header lines as the server sent them,
// then an empty line and lines the browser added itself (such as "~U:user"),
// which are dropped. The cached file holds the body as the browser kept it, after
// any transfer decoding, so headers that no longer describe those bytes keep their
// value under the "X-Archive-Orig-" prefix, as replay tools expect:
// Transfer-Encoding always, Content-Length when it differs from the file's size,
// and Content-Encoding gzip or deflate when the bytes do not start as such data
// (the browser may have decoded them).

#include <cstdint>
#include <string>
#include <string_view>

namespace arkivo {

inline constexpr std::string_view OriginalHeaderPrefix = "X-Archive-Orig-";

struct StoredResponse {
    bool HasStatusLine = false;  // false: the text starts with no HTTP status line
    int Status = 0;              // the status code
    std::string Head;            // status line, header lines, empty line; each ended by CRLF
    std::string ContentType;     // the Content-Type header's value; empty when none
};

// The response head of headerText for a body of bodySize bytes starting with
// bodyStart (a few of its first bytes are enough).
StoredResponse ReadStoredResponse(std::string_view headerText, std::uint64_t bodySize,
                                  std::string_view bodyStart);

}  // namespace arkivo
