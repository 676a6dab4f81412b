#pragma once
// The steps every cache reader uses to turn one cache entry into a cache item.

#include <memory>
#include <string>
#include <string_view>

#include "model/cache_item.h"
#include "model/edition.h"

namespace arkivo {

struct CacheEntry {
    std::string_view Url;            // the URL as the cache recorded it
    std::string CacheFile;           // full path of the cached file
    bool CacheFileExists = false;    // the reader found CacheFile to be a regular file
    std::string_view ContentType;    // as the cache recorded it; may be empty
    double Date = 0.0;               // already converted by the reader
    std::string CacheKey;            // the entry's name in the IE cache; empty for Navigator
    std::size_t CacheDirLength = 0;  // CacheFile's leading bytes that name the cache directory
    std::shared_ptr<const CacheOrigin> Origin;  // what the record said; passed to the item
};

// Builds the item for entry and appends it to items, or drops the entry when its
// host is rejected or empty or its cached file does not exist. Whether it exists is
// the reader's finding: readers look every file up anyway, so the item building asks
// the file system nothing. ArkivoNav splits URLs with the short family, ArkivoIE with
// the full family. Returns the new item or nullptr when the entry was dropped.
TCacheItem* BuildCacheItem(Edition edition, const CacheEntry& entry, TCacheItemList& items);

}  // namespace arkivo
