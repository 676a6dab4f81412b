#include "readers/ie_url_cache.h"

#include <sys/stat.h>

#include <cmath>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace arkivo {
namespace {

// The largest file the header's bitmap can describe.
constexpr off_t MaxIndexFileSize =
    ie_index::BlocksOffset + off_t{ie_index::BlockSize} * ie_index::MaxBlocks;

// Day count (clock.h) of 1 January 1601, the FILETIME epoch.
constexpr double FileTimeEpochDate = -109205.0;
constexpr std::uint64_t FileTimeTicksPerSecond = 10000000;
// Seconds from 1 January 1601 to 1 January 1970.
constexpr std::int64_t FileTimeEpochToUnix = 11644473600;

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

std::optional<std::int64_t> FileTimeToUnixSeconds(std::uint64_t fileTime) {
    if (fileTime == 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(fileTime / FileTimeTicksPerSecond) - FileTimeEpochToUnix;
}

UrlCacheFind::UrlCacheFind(IeIndex index, const std::string& cacheDirectory, std::string indexPath)
    : index_(std::move(index)),
      indexPath_(std::move(indexPath)),
      files_(cacheDirectory),
      cacheDirLength_(cacheDirectory.size()) {}

bool UrlCacheFind::Next(UrlCacheEntryInfo& entry) {
    if (next_ >= index_.Urls.size()) {
        return false;
    }
    // Each record is given once, so its strings are handed over, not copied.
    IeUrlRecord& record = index_.Urls[next_++];
    FoundFile file = files_.FileToRead(index_, record);
    entry.SourceUrlName = std::move(record.Location);
    entry.LocalFileName = std::move(file.Path);
    entry.LocalFileExists = file.IsFile;
    entry.CacheDirLength = cacheDirLength_;
    entry.CacheEntryType = record.EntryFlags;
    entry.Size = record.FileSize;
    entry.HitRate = record.HitCount;
    entry.LastModifiedTime = record.LastModifiedTime;
    entry.ExpireTime = DosDateTimeToFileTime(record.ExpireTime);
    entry.LastAccessTime = record.LastAccessTime;
    entry.LastSyncTime = DosDateTimeToFileTime(record.LastSyncTime);
    entry.HeaderInfo = std::move(record.HeaderText);
    entry.RecordOffset = record.Offset;
    entry.FileName = std::move(record.FileName);
    if (record.DirectoryIndex == ie_index::NoDirectory) {
        entry.DirectoryName.clear();
    } else {
        entry.DirectoryName = index_.Directories[record.DirectoryIndex].Name;
    }
    return true;
}

Status LoadUrlCacheIndex(const std::string& cache, IeCachePaths& paths, std::string& bytes,
                         IeIndex& index) {
    if (Status status = ResolveIeCache(cache, paths); !status.ok()) {
        return status;
    }
    struct stat info {};
    if (::stat(paths.IndexPath.c_str(), &info) == 0 && info.st_size > MaxIndexFileSize) {
        return Status::Error(StatusCode::Malformed,
                             paths.IndexPath + " is too large to be a cache index");
    }
    auto read = ReadWholeFile(paths.IndexPath);
    if (!read) {
        return Status::Error(StatusCode::Unreadable, "Cannot read " + paths.IndexPath);
    }
    bytes = std::move(*read);
    if (Status status = ParseIndexFile(bytes, index); !status.ok()) {
        return Status::Error(status.code(), paths.IndexPath + ": " + status.message());
    }
    return Status::Ok();
}

std::unique_ptr<UrlCacheFind> FindFirstUrlCacheEntry(const std::string& cache,
                                                     UrlCacheEntryInfo& entry, Status& status) {
    IeCachePaths paths;
    std::string bytes;
    IeIndex index;
    status = LoadUrlCacheIndex(cache, paths, bytes, index);
    if (!status.ok()) {
        return nullptr;
    }
    auto find =
        std::make_unique<UrlCacheFind>(std::move(index), paths.CacheDirectory, paths.IndexPath);
    if (!find->Next(entry)) {
        return nullptr;
    }
    return find;
}

bool FindNextUrlCacheEntry(UrlCacheFind& find, UrlCacheEntryInfo& entry) {
    return find.Next(entry);
}

}  // namespace arkivo
