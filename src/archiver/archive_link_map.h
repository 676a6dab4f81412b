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
// Both lists are indexed once, at construction, so each lookup costs one hash
// probe instead of two walks. The index holds the link texts the items had then,
// and stays right as long as
//   - the run's items have their ArchiveName before the map is built;
//   - the archive list grows only by appending items of the run, or changes only
//     by updating entries in place from items of the run with the same Url: the
//     run's own entries match those URLs first, so such entries are never the
//     answer.

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
    // matches link, or "../../notfound.htm". The text lives as long as the map.
    const std::string& MapToArchive(std::string_view link) const;

  private:
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const {
            return std::hash<std::string_view>{}(key);
        }
    };
    // The links of the first item of each list that a link text matches, either
    // as its Url or as its Url without the final "/"; empty when none does.
    struct Targets {
        std::string jobLink;
        std::string listLink;
    };
    void Add(const TCacheItem* item, std::string Targets::*link);

    std::unordered_map<std::string, Targets, KeyHash, std::equal_to<>> targets_;
    std::string notFound_;
};

}  // namespace arkivo
