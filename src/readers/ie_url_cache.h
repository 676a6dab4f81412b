#pragma once
// Our stand-in for the WinINet URL cache calls ArkivoIE uses, over one Content.IE5
// cache (see ie_cache_location.h): find first, find next and close enumerate the
// live URL entries of its index.dat; DeleteUrlCacheEntry (ie_url_cache_delete.h)
// removes one. The enumeration reads the index once, when it starts, and gives
// every entry whatever its size: there is no fixed entry buffer to overflow.
// Redirects, deleted or free hash slots and LEAK records are never given.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/status.h"
#include "readers/ie_cache_files.h"
#include "readers/ie_cache_location.h"
#include "readers/ie_index_file.h"

namespace arkivo {

// One cache entry, with the fields of WinINet's INTERNET_CACHE_ENTRY_INFO that
// Arkivo uses, whether the cached file is there (found while looking it up) and
// where the entry lies in the index.
struct UrlCacheEntryInfo {
    std::string SourceUrlName;           // the location as the index stores it
    std::string LocalFileName;           // the cached file's path; empty when it has none usable
    bool LocalFileExists = false;        // LocalFileName names a regular file
    std::size_t CacheDirLength = 0;      // LocalFileName's leading bytes naming the cache directory
    std::uint32_t CacheEntryType = 0;    // the entry flags
    std::uint64_t Size = 0;              // the cached file's size (dwSizeLow and dwSizeHigh)
    std::uint32_t HitRate = 0;           // the hit count
    std::uint64_t LastModifiedTime = 0;  // FILETIME, 0 = unset
    std::uint64_t ExpireTime = 0;        // FILETIME from the stored DOS date/time, 0 = unset
    std::uint64_t LastAccessTime = 0;    // FILETIME, 0 = unset
    std::uint64_t LastSyncTime = 0;      // FILETIME from the stored DOS date/time, 0 = unset
    std::string HeaderInfo;              // the stored response header text

    std::uint32_t RecordOffset = 0;  // file offset of the URL record in the index
    std::string FileName;            // the cached file's name as the record stores it
    std::string DirectoryName;       // its cache directory's name; empty for none
};

// An enumeration in progress (WinINet's find handle). Destroying it closes the
// enumeration, as FindCloseUrlCache does.
class UrlCacheFind {
  public:
    UrlCacheFind(IeIndex index, const std::string& cacheDirectory, std::string indexPath);

    // Fills entry with the next entry; false when none is left.
    bool Next(UrlCacheEntryInfo& entry);

    // The path of the index file being enumerated.
    const std::string& IndexPath() const { return indexPath_; }

  private:
    IeIndex index_;
    std::string indexPath_;
    CacheFileResolver files_;
    std::size_t cacheDirLength_;
    std::size_t next_ = 0;
};

// Finds cache (see ResolveIeCache), reads its index file into bytes and parses it
// into index. A file larger than an index can be is not read.
Status LoadUrlCacheIndex(const std::string& cache, IeCachePaths& paths, std::string& bytes,
                         IeIndex& index);

// Starts enumerating cache (a Content.IE5 directory or its index.dat; empty: the
// default cache) and fills entry with the first entry. Returns no handle when the
// cache cannot be read (status says why) or holds no entry (status Ok).
std::unique_ptr<UrlCacheFind> FindFirstUrlCacheEntry(const std::string& cache,
                                                     UrlCacheEntryInfo& entry, Status& status);

// Fills entry with the next entry; false when the enumeration is over.
bool FindNextUrlCacheEntry(UrlCacheFind& find, UrlCacheEntryInfo& entry);

// The FILETIME of a DOS date (low word) and time (high word) with no time-zone
// change; 0 for 0 and for values that name no valid date.
std::uint64_t DosDateTimeToFileTime(std::uint32_t dosDateTime);

// Whole seconds since 1 January 1970 of a FILETIME (rounded down); std::nullopt
// for 0, which means unset.
std::optional<std::int64_t> FileTimeToUnixSeconds(std::uint64_t fileTime);

}  // namespace arkivo
