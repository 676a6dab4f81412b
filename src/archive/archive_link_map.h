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
// probe instead of two walks: an open-addressing table whose slots carry the key's
// hash, with the keys and the link texts packed in two blocks, so a lookup touches
// about three cache lines. The index holds the link texts the items had then, and
// stays right as long as
//   - the run's items have their ArchiveName before the map is built;
//   - the archive list grows only by appending items of the run, or changes only
//     by updating entries in place from items of the run with the same Url: the
//     run's own entries match those URLs first, so such entries are never the
//     answer.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/cache_item.h"

namespace arkivo {

class ArchiveLinkMap {
  public:
    ArchiveLinkMap(const std::vector<TCacheItem*>& job, const TCacheItemList& list);

    // ArchiveLinkOf the first item that matches link ("../../" + Domain + "/" +
    // folder + "/" + ArchiveName, percent-encoded), or "../../notfound.htm". The
    // text lives as long as the map.
    std::string_view MapToArchive(std::string_view link) const;

  private:
    // A text inside keys_ or links_.
    struct Span {
        std::size_t Start = 0;
        std::size_t Length = 0;
    };
    // One key: a Url, or a Url without its final "/". A slot is free while it has
    // no link; each list's link is that of its first item with the key.
    struct Slot {
        std::size_t Hash = 0;
        Span Key;
        Span JobLink;
        Span ListLink;
        bool Free() const { return JobLink.Length == 0 && ListLink.Length == 0; }
    };

    void Add(const TCacheItem* item, Span Slot::*link);
    Slot& SlotOf(std::string_view key, std::size_t hash);
    std::string_view Text(const std::string& block, Span span) const;

    std::vector<Slot> slots_;  // a power of two in size, at most half used
    std::string keys_;
    std::string links_;
};

}  // namespace arkivo
