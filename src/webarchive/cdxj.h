#pragma once
// CDXJ, the index replay tools look captures up in: one line per capture,
// "SURT-key timestamp {json}", the lines sorted bytewise.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace arkivo {

// The SURT key of a URL as web archive indexes write it: for http and https, lower
// case, without scheme, a leading "www." (or "www2." ...) or fragment, the host's
// labels reversed and joined by commas, a port other than the scheme's own, ")",
// the path ("/" when none) and the query with its arguments sorted. Other URLs are
// their own key.
std::string SurtKey(std::string_view url);

struct CdxjEntry {
    std::string Url;
    std::int64_t Time = 0;  // seconds since 1970, UTC
    std::string Mime;
    int Status = 0;            // 0: not known (a resource record)
    std::string Digest;        // the payload digest's base32, without "sha1:"
    std::uint64_t Length = 0;  // bytes of the record's gzip member
    std::uint64_t Offset = 0;  // where that member starts in the file
    std::string FileName;
};

// The entry's line, without the line end.
std::string CdxjLine(const CdxjEntry& entry);

// Sorts lines bytewise and drops repeated ones.
void SortCdxjLines(std::vector<std::string>& lines);

// The text of an index of lines, one per line.
std::string CdxjText(const std::vector<std::string>& lines);

// The file name a line gives, as the JSON text CdxjLine writes it (quoted and
// escaped); empty when the line does not end as CdxjLine ends its lines.
std::string_view CdxjFileNameText(std::string_view line);

// True when line, as CdxjLine writes it, names the WARC file fileName.
bool CdxjLineIsFor(std::string_view line, std::string_view fileName);

}  // namespace arkivo
