#include "readers/ie_url_cache.h"

#include <cmath>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "readers/ie_cache_location.h"

namespace arkivo {
namespace {

// Day count (clock.h) of 1 January 1601, the FILETIME epoch.
constexpr double FileTimeEpochDate = -109205.0;
constexpr double TicksPerDay = 864000000000.0;

}  // namespace

std::uint64_t DosDateTimeToFileTime(std::uint32_t dosDateTime) {
    if (dosDateTime == 0) {
        return 0;
    }
    const auto date = DateFromDosDateTime(static_cast<std::uint16_t>(dosDateTime & 0xFFFF),
                                          static_cast<std::uint16_t>(dosDateTime >> 16));
    if (!date) {
        return 0;
    }
    // DOS times are whole seconds, so rounding to the second is exact.
    const double seconds = std::round((*date - FileTimeEpochDate) * 86400.0);
    return static_cast<std::uint64_t>(seconds) * 10000000ULL;
}

UrlCacheFind::UrlCacheFind(IeIndex index, const std::string& cacheDirectory)
    : index_(std::move(index)), files_(cacheDirectory) {}

bool UrlCacheFind::Next(UrlCacheEntryInfo& entry) {
    if (next_ >= index_.urls.size()) {
        return false;
    }
    const IeUrlRecord& record = index_.urls[next_++];
    entry.sourceUrlName = record.location;
    entry.localFileName = files_.FileToRead(index_, record);
    entry.lastAccessTime = record.lastAccessTime;
    entry.lastSyncTime = DosDateTimeToFileTime(record.lastSyncTime);
    entry.headerInfo = record.headerText;
    return true;
}

std::unique_ptr<UrlCacheFind> FindFirstUrlCacheEntry(const std::string& cache,
                                                     UrlCacheEntryInfo& entry, Status& status) {
    IeCachePaths paths;
    status = ResolveIeCache(cache, paths);
    if (!status.ok()) {
        return nullptr;
    }
    const auto bytes = ReadWholeFile(paths.indexPath);
    if (!bytes) {
        status = Status::Error(StatusCode::Unreadable, "Cannot read " + paths.indexPath);
        return nullptr;
    }
    IeIndex index;
    status = ParseIndexFile(*bytes, index);
    if (!status.ok()) {
        status = Status::Error(status.code(), paths.indexPath + ": " + status.message());
        return nullptr;
    }
    auto find = std::make_unique<UrlCacheFind>(std::move(index), paths.cacheDirectory);
    if (!find->Next(entry)) {
        return nullptr;
    }
    return find;
}

bool FindNextUrlCacheEntry(UrlCacheFind& find, UrlCacheEntryInfo& entry) {
    return find.Next(entry);
}

}  // namespace arkivo
