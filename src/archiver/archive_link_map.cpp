#include "archiver/archive_link_map.h"

#include "archiver/archive_layout.h"

namespace arkivo {
namespace {

bool IsLinkTarget(const TCacheItem* item) {
    return item != nullptr && item->Kind != 0 && HasSafeArchivePath(*item);
}

}  // namespace

ArchiveLinkMap::ArchiveLinkMap(const std::vector<TCacheItem*>& job, const TCacheItemList& list) {
    job_.byUrl.reserve(job.size());
    for (std::size_t i = 0; i < job.size(); ++i) {
        job_.Add(i, job[i]);
    }
    list_.byUrl.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        list_.Add(i, list[i].get());
    }
}

void ArchiveLinkMap::ListIndex::Add(std::size_t position, const TCacheItem* item) {
    if (!IsLinkTarget(item)) {
        return;
    }
    // emplace keeps an existing key, so the earlier item stays the match.
    byUrl.emplace(item->Url, Target{position, item});
    if (!item->Url.empty() && item->Url.back() == '/') {
        bySlashedUrl.emplace(item->Url.substr(0, item->Url.size() - 1), Target{position, item});
    }
}

const TCacheItem* ArchiveLinkMap::ListIndex::Find(std::string_view link) const {
    const auto exact = byUrl.find(link);
    const auto slashed = bySlashedUrl.find(link);
    if (exact == byUrl.end()) {
        return slashed == bySlashedUrl.end() ? nullptr : slashed->second.item;
    }
    if (slashed == bySlashedUrl.end() || exact->second.position < slashed->second.position) {
        return exact->second.item;
    }
    return slashed->second.item;
}

std::string ArchiveLinkMap::MapToArchive(std::string_view link) const {
    const TCacheItem* target = job_.Find(link);
    if (target == nullptr) {
        target = list_.Find(link);
    }
    return target == nullptr ? std::string(NotFoundPageLink) : ArchiveLinkOf(*target);
}

}  // namespace arkivo
