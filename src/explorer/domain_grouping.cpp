#include "explorer/domain_grouping.h"

#include <unordered_map>

#include "model/content_types.h"

namespace arkivo {

void DomainGrouping::BuildDomainList(const TCacheItemList& items, const AgeWindow& window) {
    window_ = window;
    domainList_.clear();
    std::unordered_map<std::string, std::size_t> position;  // domain -> its summary
    std::vector<std::string> names;
    for (const auto& item : items) {
        if (!window.Contains(item->Date)) {
            continue;
        }
        auto [found, added] = position.emplace(item->Domain, domainList_.size());
        if (added) {
            domainList_.push_back(DomainSummary{item->Domain});
            names.push_back(item->Domain);
        }
        DomainSummary& summary = domainList_[found->second];
        switch (item->Group) {
            case TextGroup:
                ++summary.TextCount;
                break;
            case MediaGroup:
                ++summary.MediaCount;
                break;
            case OtherGroup:
                ++summary.OtherCount;
                break;
            default:
                break;
        }
    }
    srcList_.Clear();
    dstList_.Assign(std::move(names));
}

GroupCounts DomainGrouping::CountSelection() const {
    GroupCounts totals;
    for (const auto& summary : domainList_) {
        if (dstList_.Contains(summary.Name)) {
            totals.Text += summary.TextCount;
            totals.Media += summary.MediaCount;
            totals.Other += summary.OtherCount;
        }
    }
    return totals;
}

std::uint64_t DomainGrouping::ChosenCount(const TypeSwitches& switches) const {
    const GroupCounts totals = CountSelection();
    return (switches.Text ? totals.Text : 0) + (switches.Media ? totals.Media : 0) +
           (switches.Other ? totals.Other : 0);
}

bool DomainGrouping::IsChosen(const TCacheItem& item, const TypeSwitches& switches) const {
    if (!window_.Contains(item.Date) || !dstList_.Contains(item.Domain)) {
        return false;
    }
    return (item.Group == TextGroup && switches.Text) ||
           (item.Group == MediaGroup && switches.Media) ||
           (item.Group == OtherGroup && switches.Other);
}

void DomainGrouping::MoveToDst(const std::vector<std::string>& names) {
    dstList_.Add(srcList_.Remove(names));
}

void DomainGrouping::MoveToSrc(const std::vector<std::string>& names) {
    srcList_.Add(dstList_.Remove(names));
}

}  // namespace arkivo
