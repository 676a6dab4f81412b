#include "archive/archive_link_map.h"

#include "archive/archive_layout.h"
#include "model/content_types.h"

namespace arkivo {
namespace {

bool IsLinkTarget(const TCacheItem* item) {
    return item != nullptr && item->Kind != UnknownContentCode && HasSafeArchivePath(*item);
}

}  // namespace

ArchiveLinkMap::ArchiveLinkMap(const std::vector<TCacheItem*>& job, const TCacheItemList& list) {
    // Every item brings at most two keys; half the slots stay free.
    std::size_t size = 16;
    while (size < 4 * (job.size() + list.size())) {
        size *= 2;
    }
    slots_.resize(size);
    for (const TCacheItem* item : job) {
        Add(item, &Slot::JobLink);
    }
    for (const auto& item : list) {
        Add(item.get(), &Slot::ListLink);
    }
}

// Items are added in list order, so the first one to claim a key is the first
// match for it, whether it matches with or without the final "/".
void ArchiveLinkMap::Add(const TCacheItem* item, Span Slot::*link) {
    if (!IsLinkTarget(item)) {
        return;
    }
    const Span target{links_.size(), 0};
    links_ += ArchiveLinkOf(*item);
    const auto claim = [&](std::string_view key) {
        Slot& slot = SlotOf(key, std::hash<std::string_view>{}(key));
        if ((slot.*link).Length == 0) {
            slot.*link = Span{target.Start, links_.size() - target.Start};
        }
    };
    const std::string& url = item->Url;
    claim(url);
    if (!url.empty() && url.back() == '/') {
        claim(std::string_view(url).substr(0, url.size() - 1));
    }
}

// The slot that holds key, or the free slot where it belongs (its key is then set).
ArchiveLinkMap::Slot& ArchiveLinkMap::SlotOf(std::string_view key, std::size_t hash) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.Free()) {
            slot.Hash = hash;
            slot.Key = Span{keys_.size(), key.size()};
            keys_ += key;
            return slot;
        }
        if (slot.Hash == hash && Text(keys_, slot.Key) == key) {
            return slot;
        }
    }
}

std::string_view ArchiveLinkMap::Text(const std::string& block, Span span) const {
    return std::string_view(block).substr(span.Start, span.Length);
}

std::string_view ArchiveLinkMap::MapToArchive(std::string_view link) const {
    const std::size_t hash = std::hash<std::string_view>{}(link);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask; !slots_[i].Free(); i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.Hash == hash && Text(keys_, slot.Key) == link) {
            return Text(links_, slot.JobLink.Length != 0 ? slot.JobLink : slot.ListLink);
        }
    }
    return NotFoundPageLink;
}

}  // namespace arkivo
