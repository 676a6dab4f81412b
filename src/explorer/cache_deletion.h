#pragma once
// Deleting the chosen items from the browser's cache: the items Archive would
// archive. ArkivoNav removes each item's cached file (the index is left alone; an
// item whose file is gone is not read again); ArkivoIE removes the entry from the
// IE cache, its file and its index record. An item whose deletion failed stays in
// the list, so the user is told instead of believing it gone.

#include <cstddef>
#include <memory>
#include <string>

#include "explorer/domain_grouping.h"
#include "model/cache_item.h"
#include "model/edition.h"
#include "platform/status.h"

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

// Removes one item from the browser's cache.
class CacheEntryDeleter {
  public:
    virtual ~CacheEntryDeleter() = default;
    // True when the item is gone from the cache (also when it already was).
    virtual bool Delete(const TCacheItem& item) = 0;
    // Makes the deletions permanent (ArkivoIE writes its index once at the end).
    virtual Status Finish() = 0;
};

// The deleter of an edition; cache is the IE cache the items were read from
// (a Content.IE5 directory or its index.dat; empty: the default cache).
std::unique_ptr<CacheEntryDeleter> MakeCacheEntryDeleter(Edition edition, const std::string& cache);

struct DeletionResult {
    std::size_t Deleted = 0;
    std::size_t NotDeleted = 0;  // chosen items that could not be deleted; still listed
    Status Outcome;              // a failure to open or save the cache index
};

// Deletes every chosen item through deleter and removes the deleted ones from items,
// keeping the order of the rest.
DeletionResult DeleteChosenItems(TCacheItemList& items, const DomainGrouping& grouping,
                                 const TypeSwitches& switches, CacheEntryDeleter& deleter);

}  // namespace arkivo
