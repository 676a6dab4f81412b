#pragma once
// Deleting the chosen items from the browser's cache: the items Archive would
// archive. ArkivoNav removes each item's cached file (the index is left alone; an
// item whose file is gone is not read again); ArkivoIE removes the entry from the
// IE cache, its file and its index record (ie_url_cache_delete.h). Each item is
// counted by the state it reached, and one that is still listed by the cache stays
// in the list, so the user is told instead of believing it gone.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "explorer/domain_grouping.h"
#include "model/cache_item.h"
#include "model/edition.h"
#include "platform/status.h"
#include "readers/ie_url_cache_delete.h"

namespace arkivo {

inline constexpr const char* NoFilesToDeleteText = "No files to delete.";
inline constexpr const char* DeleteQuestionText =
    "Are you sure you want to delete these\r\nitems from the cache?\r\n";
inline constexpr const char* DeleteWholeCacheQuestionText =
    "Are you sure you want to delete these\r\nitems from the cache?\r\n\r\n"
    "WARNING : This selection will delete\r\nthe entire cache. Continue?";

// The question to ask: the whole-cache warning when every age, every domain and
// every counted item is chosen, the short question otherwise.
std::string DeleteQuestion(bool allAges, const DomainGrouping& grouping,
                           const TypeSwitches& switches);

// What a delete left a chosen item as.
enum class ItemDeletion {
    Deleted,            // gone from the cache
    MarkedForDeletion,  // no longer listed by the cache, but its file is still on disk
    NotDeleted,         // still in the cache, unchanged
};

struct DeletionResult {
    std::size_t Deleted = 0;
    std::size_t MarkedForDeletion = 0;  // left the list; a later delete removes the files
    std::size_t NotDeleted = 0;         // still listed
    std::string FirstRefusal;           // why the first item not deleted stayed, when known
    // Entries an earlier delete left marked for deletion (ArkivoIE), finished by this
    // one or still marked.
    std::size_t EarlierDeleted = 0;
    std::size_t EarlierMarked = 0;
    // A failure to open the cache index, to write it before any file was removed
    // (nothing changed), or to write it afterwards (its clean-up is pending).
    Status Outcome;
};

// Removes items from the browser's cache.
class CacheEntryDeleter {
  public:
    virtual ~CacheEntryDeleter() = default;
    // Deletes the items, first finishing what earlier deletes left undone; gives the
    // state each item reached, in order, and fills the rest of result.
    virtual std::vector<ItemDeletion> Delete(const std::vector<const TCacheItem*>& items,
                                             DeletionResult& result) = 0;
};

// The deleter of an edition; cache is the IE cache the items were read from
// (a Content.IE5 directory or its index.dat; empty: the default cache).
std::unique_ptr<CacheEntryDeleter> MakeCacheEntryDeleter(Edition edition, const std::string& cache,
                                                         UrlCacheDeleteHooks hooks = {});

// Deletes every chosen item through deleter (with none chosen, it still finishes
// earlier deletes) and removes the items that left the cache from items, keeping
// the order of the rest.
DeletionResult DeleteChosenItems(TCacheItemList& items, const DomainGrouping& grouping,
                                 const TypeSwitches& switches, CacheEntryDeleter& deleter);

}  // namespace arkivo
