#pragma once
// Times as web archives write them, always in UTC.

#include <cstdint>
#include <string>

namespace arkivo {

// "YYYY-MM-DDThh:mm:ssZ" (WARC-Date, pages.jsonl, datapackage.json) for seconds
// since 1 January 1970; times before year 1 or after 9999 are held at those ends.
std::string WarcDate(std::int64_t seconds);

// The same time as the 14 digits of a CDXJ line: "YYYYMMDDhhmmss".
std::string CdxTimestamp(std::int64_t seconds);

}  // namespace arkivo
