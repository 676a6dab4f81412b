#include "readers/ie_cache_reader.h"

#include <algorithm>
#include <memory>

#include "model/item_building.h"
#include "model/url.h"
#include "platform/clock.h"
#include "readers/ie_url_cache.h"

namespace arkivo {
namespace {

constexpr std::string_view ContentTypeField = "content-type: ";
constexpr std::string_view DefaultContentType = "text/html";
constexpr std::size_t MaxContentTypeLine = 255;
constexpr std::string_view ContentTypeName = "content-type";

// What the entry's URL record said; takes the entry's strings, which the next
// entry replaces anyway.
std::shared_ptr<CacheOrigin> OriginOf(UrlCacheEntryInfo& entry, const std::string& indexPath) {
    auto origin = std::make_shared<CacheOrigin>();
    origin->Format = CacheFormat::InternetExplorer;
    origin->IndexFile = indexPath;
    origin->RecordOffset = entry.RecordOffset;
    origin->Url = std::move(entry.SourceUrlName);
    origin->StoredFileName = std::move(entry.FileName);
    origin->CacheSubdirectory = std::move(entry.DirectoryName);
    origin->ResponseHeader = std::move(entry.HeaderInfo);
    origin->ContentType = ContentTypeValue(origin->ResponseHeader);
    origin->LastModified = FileTimeToUnixSeconds(entry.LastModifiedTime);
    origin->LastAccess = FileTimeToUnixSeconds(entry.LastAccessTime);
    origin->Expires = FileTimeToUnixSeconds(entry.ExpireTime);
    origin->LastChecked = FileTimeToUnixSeconds(entry.LastSyncTime);
    origin->StoredLength = entry.Size;
    origin->HitCount = entry.HitRate;
    origin->EntryFlags = entry.CacheEntryType;
    return origin;
}

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

std::string_view ContentTypeValue(std::string_view header) {
    header = header.substr(0, header.find('\0'));
    while (!header.empty()) {
        const std::size_t end = header.find('\n');
        std::string_view line = header.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            break;
        }
        if (EqualsNoCase(line.substr(0, ContentTypeName.size()), ContentTypeName) &&
            line.size() > ContentTypeName.size() && line[ContentTypeName.size()] == ':') {
            return TrimBlanks(line.substr(ContentTypeName.size() + 1));
        }
        header.remove_prefix(end == std::string_view::npos ? header.size() : end + 1);
    }
    return {};
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
            std::shared_ptr<const CacheOrigin> origin = OriginOf(entry, find->IndexPath());
            const CacheOrigin& facts = *origin;
            const std::string contentType = ContentTypeFromHeader(facts.ResponseHeader);
            CacheEntry cacheEntry;
            cacheEntry.Url = facts.Url;
            cacheEntry.CacheFile = std::move(entry.LocalFileName);
            cacheEntry.CacheFileExists = entry.LocalFileExists;
            cacheEntry.ContentType = contentType;
            cacheEntry.Date = date;
            cacheEntry.CacheKey = facts.Url;
            cacheEntry.CacheDirLength = entry.CacheDirLength;
            cacheEntry.Origin = std::move(origin);
            BuildCacheItem(Edition::IE, cacheEntry, items);
        } while (FindNextUrlCacheEntry(*find, entry));
    }
    return !items.empty();
}

}  // namespace arkivo
