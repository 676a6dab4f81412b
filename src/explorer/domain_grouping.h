#pragma once
// Grouping cache items by web site for the Cache Explorer, and the rule that says
// which items Archive and Delete act on.
//
// DomainList holds one summary per domain that has items inside the age window, in
// the order the domains were first met; the two name lists are what the window's
// "Available Domains" (SrcList) and "Archive/Delete" (DstList) boxes show. After
// every rebuild all domains stand in DstList. An item is chosen when it lies in the
// age window, its domain is in DstList and the switch of its group is on.

#include <cstdint>
#include <string>
#include <vector>

#include "explorer/age_filter.h"
#include "explorer/domain_names.h"
#include "model/cache_item.h"

namespace arkivo {

struct DomainSummary {
    std::string Name;
    std::uint64_t TextCount = 0;
    std::uint64_t MediaCount = 0;
    std::uint64_t OtherCount = 0;
};

struct GroupCounts {
    std::uint64_t Text = 0;
    std::uint64_t Media = 0;
    std::uint64_t Other = 0;
};

// The three type switches: HTML/plain text/rich text, image/sound/video, other.
struct TypeSwitches {
    bool Text = true;
    bool Media = true;
    bool Other = true;
};

class DomainGrouping {
  public:
    // Regroups items under the window: DomainList rebuilt, every domain in DstList,
    // SrcList empty.
    void BuildDomainList(const TCacheItemList& items, const AgeWindow& window);

    // The totals of the domains now in DstList.
    GroupCounts CountSelection() const;

    // Sum of the totals of the groups whose switch is on; 0 means nothing to do.
    std::uint64_t ChosenCount(const TypeSwitches& switches) const;

    bool IsChosen(const TCacheItem& item, const TypeSwitches& switches) const;

    // Moves whole names between the two lists.
    void MoveToDst(const std::vector<std::string>& names);
    void MoveToSrc(const std::vector<std::string>& names);

    const std::vector<DomainSummary>& DomainList() const { return domainList_; }
    const DomainNameList& SrcList() const { return srcList_; }
    const DomainNameList& DstList() const { return dstList_; }
    const AgeWindow& Window() const { return window_; }

  private:
    std::vector<DomainSummary> domainList_;
    DomainNameList srcList_;
    DomainNameList dstList_;
    AgeWindow window_;
};

}  // namespace arkivo
