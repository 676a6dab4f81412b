#pragma once
// Where a link between archived pages leads: the archived copy of the item whose
// URL the link names, or the archive's not-found page.
//
// Two lists are searched: the items of the current run first, then the entries of
// archive.dat. An item matches a link when its Url equals the link, or the link
// followed by "/", byte for byte; the first match in list order wins. Items that
// cannot be link targets are passed over, so the next match is found: those of
// content code 0 (never archived) and those whose Domain or ArchiveName is not a
// safe path component (they have no archived copy).
//
// Both lists are indexed once, at construction, so each lookup costs a hash probe
// instead of a walk. The index holds pointers to the items, not copies, and stays
// right as long as
//   - the items outlive the map and are neither removed nor replaced;
//   - each item's Url, Kind, Domain and ArchiveName stay as they were; the run
//     gives job items their names before it builds the map;
//   - the archive list grows only by appending items of the run (which the run's
//     own index already finds first) or by updating entries in place from items
//     of the run that have the same Url.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/cache_item.h"

namespace arkivo {

class ArchiveLinkMap {
  public:
    ArchiveLinkMap(const std::vector<TCacheItem*>& job, const TCacheItemList& list);

    // "../../" + Domain + "/" + folder + "/" + ArchiveName of the first item that
    // matches link, or "../../notfound.htm".
    std::string MapToArchive(std::string_view link) const;

  private:
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const {
            return std::hash<std::string_view>{}(key);
        }
    };
    struct Target {
        std::size_t position;  // the item's place in its list
        const TCacheItem* item;
    };
    // One list's items by Url, and by Url without its final "/" (for the items
    // that a link matches with "/" appended); each key keeps its first item.
    struct ListIndex {
        std::unordered_map<std::string, Target, KeyHash, std::equal_to<>> byUrl;
        std::unordered_map<std::string, Target, KeyHash, std::equal_to<>> bySlashedUrl;

        void Add(std::size_t position, const TCacheItem* item);
        const TCacheItem* Find(std::string_view link) const;
    };

    ListIndex job_;
    ListIndex list_;
};

}  // namespace arkivo
