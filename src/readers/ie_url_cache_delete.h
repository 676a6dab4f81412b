#pragma once
// Deleting entries from an Internet Explorer cache (WinINet's DeleteUrlCacheEntry).
//
// A delete removes the entry's cached file and then frees its record in index.dat;
// when the file cannot be removed (permission denied, busy) the record becomes a
// LEAK record instead, as WinINet does. The new index is written to a temporary
// file in the same directory, synced and renamed over the old one, so a crash leaves
// the old or the new index, never a torn one. A crash after the file was removed and
// before the rename leaves the old index naming a missing file, which readers drop
// and a repeated delete finishes.
//
// Only a sound index is changed: any damage found while reading it refuses the
// delete before anything is touched. A file name that is not a plain name is never
// followed, and nothing outside the cache directory is removed.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/status.h"
#include "readers/ie_cache_files.h"
#include "readers/ie_cache_location.h"
#include "readers/ie_index_file.h"

namespace arkivo {

// Deletes several entries of one cache with one rewrite of its index.
class UrlCacheEditor {
  public:
    // Reads and checks the index of cache (a Content.IE5 directory or its index.dat;
    // empty: the default cache). Refused when the index is damaged.
    Status Open(const std::string& cache);

    // Removes the cached file of the live entry whose location equals sourceUrl
    // (compared byte for byte) and frees its record in memory. NotFound when there
    // is no such entry; Refused when the entry is in use or its file name is unsafe;
    // on any failure nothing is changed.
    Status Delete(std::string_view sourceUrl);

    // Writes the changed index in place of the old one (nothing when unchanged).
    Status Save();

  private:
    IeCachePaths paths_;
    std::string bytes_;
    IeIndex index_;
    std::unordered_map<std::string, std::size_t> byLocation_;  // live URL records
    std::optional<CacheFileResolver> files_;
    bool changed_ = false;
};

// Deletes one entry: Open, Delete and Save.
Status DeleteUrlCacheEntry(const std::string& cache, std::string_view sourceUrl);

}  // namespace arkivo
