#include "archiver/archive_link_map.h"

#include "archiver/archive_layout.h"

namespace arkivo {
namespace {

bool IsLinkTarget(const TCacheItem* item) {
    return item != nullptr && item->Kind != 0 && HasSafeArchivePath(*item);
}

}  // namespace

ArchiveLinkMap::ArchiveLinkMap(const std::vector<TCacheItem*>& job, const TCacheItemList& list)
    : notFound_(NotFoundPageLink) {
    targets_.reserve(job.size() + list.size());
    for (const TCacheItem* item : job) {
        Add(item, &Targets::jobLink);
    }
    for (const auto& item : list) {
        Add(item.get(), &Targets::listLink);
    }
}

// Items are added in list order, so the first one to claim a key is the first
// match for it, whether it matches with or without the final "/".
void ArchiveLinkMap::Add(const TCacheItem* item, std::string Targets::*link) {
    if (!IsLinkTarget(item)) {
        return;
    }
    const std::string target = ArchiveLinkOf(*item);
    const auto claim = [&](std::string key) {
        std::string& slot = targets_[std::move(key)].*link;
        if (slot.empty()) {
            slot = target;
        }
    };
    const std::string& url = item->Url;
    claim(url);
    if (!url.empty() && url.back() == '/') {
        claim(url.substr(0, url.size() - 1));
    }
}

const std::string& ArchiveLinkMap::MapToArchive(std::string_view link) const {
    const auto found = targets_.find(link);
    if (found == targets_.end()) {
        return notFound_;
    }
    const Targets& targets = found->second;
    if (!targets.jobLink.empty()) {
        return targets.jobLink;
    }
    return targets.listLink.empty() ? notFound_ : targets.listLink;
}

}  // namespace arkivo
