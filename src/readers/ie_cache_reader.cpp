#include "readers/ie_cache_reader.h"

#include <algorithm>

#include "model/item_building.h"
#include "model/url.h"
#include "platform/clock.h"
#include "readers/ie_url_cache.h"

namespace arkivo {
namespace {

constexpr std::string_view ContentTypeField = "content-type: ";
constexpr std::string_view DefaultContentType = "text/html";
constexpr std::size_t MaxContentTypeLine = 255;

}  // namespace

double FileTimeToDate(std::uint64_t fileTime) {
    std::uint16_t dosDate = 0;
    std::uint16_t dosTime = 0;
    if (!FileTimeToDosDateTime(fileTime, dosDate, dosTime)) {
        return 0.0;
    }
    const auto packed =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(dosDate) << 16 | dosTime);
    if (packed <= 0) {
        return 0.0;
    }
    return DateFromDosDateTime(dosDate, dosTime).value_or(0.0);
}

std::string ContentTypeFromHeader(std::string_view header) {
    // The header ends at its first NUL, as a C string would.
    const std::string text = LowerCase(header.substr(0, header.find('\0')));
    const std::size_t start = text.find(ContentTypeField);
    if (start == std::string::npos) {
        return std::string(DefaultContentType);
    }
    std::string_view line = std::string_view(text).substr(start);
    line = line.substr(0, line.find('\r'));
    line = line.substr(0, line.find('\n'));
    line = line.substr(0, MaxContentTypeLine);
    line.remove_prefix(std::min(line.size(), ContentTypeField.size()));
    return line.empty() ? std::string(DefaultContentType) : std::string(line);
}

bool ReadUrlCache(const std::string& cache, TCacheItemList& items, Status* status) {
    UrlCacheEntryInfo entry;
    Status findStatus;
    const auto find = FindFirstUrlCacheEntry(cache, entry, findStatus);
    if (status != nullptr) {
        *status = findStatus;
    }
    if (find) {
        do {
            double date = FileTimeToDate(entry.LastSyncTime);
            date = std::max(date, FileTimeToDate(entry.LastAccessTime));
            const std::string contentType = ContentTypeFromHeader(entry.HeaderInfo);
            const CacheEntry cacheEntry{
                entry.SourceUrlName, entry.LocalFileName, entry.LocalFileExists, contentType, date,
                entry.SourceUrlName, entry.CacheDirLength, {}};
            BuildCacheItem(Edition::IE, cacheEntry, items);
        } while (FindNextUrlCacheEntry(*find, entry));
    }
    return !items.empty();
}

}  // namespace arkivo
