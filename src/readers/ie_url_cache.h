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
#include <string>

#include "platform/status.h"
#include "readers/ie_cache_files.h"
#include "readers/ie_cache_location.h"
#include "readers/ie_index_file.h"

namespace arkivo {

// One cache entry, with the fields of WinINet's INTERNET_CACHE_ENTRY_INFO that
// Arkivo uses, and whether the cached file is there (found while looking it up).
struct UrlCacheEntryInfo {
    std::string SourceUrlName;         // the location as the index stores it
    std::string LocalFileName;         // the cached file's path; empty when it has none usable
    bool LocalFileExists = false;      // LocalFileName names a regular file
    std::size_t CacheDirLength = 0;    // LocalFileName's leading bytes naming the cache directory
    std::uint64_t LastAccessTime = 0;  // FILETIME, 0 = unset
    std::uint64_t LastSyncTime = 0;    // FILETIME from the stored DOS date/time, 0 = unset
    std::string HeaderInfo;            // the stored response header text
};

// An enumeration in progress (WinINet's find handle). Destroying it closes the
// enumeration, as FindCloseUrlCache does.
class UrlCacheFind {
  public:
    UrlCacheFind(IeIndex index, const std::string& cacheDirectory);

    // Fills entry with the next entry; false when none is left.
    bool Next(UrlCacheEntryInfo& entry);

  private:
    IeIndex index_;
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

}  // namespace arkivo
