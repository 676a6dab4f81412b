#pragma once
// ArkivoIE's cache reader: every entry of the Internet Explorer cache becomes a
// cache item through the common item-building steps, with the full URL family, the
// later of the entry's last access and last sync times as its date, the content
// type taken from its stored response header, its source URL kept as CacheKey so
// that the entry can be deleted later, and what its URL record said as its origin.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/cache_item.h"
#include "platform/status.h"

namespace arkivo {

// Appends an item for every usable entry of cache (a Content.IE5 directory or its
// index.dat; empty: the default cache) to items. True when items holds at least one
// item afterwards. status (when given) tells a cache that cannot be read from one
// that gave no items.
bool ReadUrlCache(const std::string& cache, TCacheItemList& items, Status* status = nullptr);

// The day count of a FILETIME taken through its DOS date and time (2-second
// resolution, no time-zone change); 0.0 for a time outside the DOS range or whose
// date word has its top bit set.
double FileTimeToDate(std::uint64_t fileTime);

// The content type named by a stored response header: the rest of the first line
// holding "content-type: " (letter case ignored, exactly one space), at most 255
// characters with the field name counted; "text/html" when there is none or it is
// empty.
std::string ContentTypeFromHeader(std::string_view header);

// The value of the stored response header's Content-Type field as the header
// holds it: the rest of the first header line whose field name is Content-Type
// (letter case ignored), without the blanks around it; empty when there is none.
// The header ends at its first NUL or its first empty line.
std::string_view ContentTypeValue(std::string_view header);

}  // namespace arkivo
