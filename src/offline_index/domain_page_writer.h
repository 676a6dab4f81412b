#pragma once
// Writes the six pages of every domain of the offline index into the domain
// directories (see offline_index/domain_page_text.h), reporting progress as it goes.

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/cache_item.h"
#include "offline_index/domain_page_text.h"

namespace arkivo {

inline constexpr const char* IndexingStageText = "Indexing...";

struct IndexProgress {
    std::function<void(const std::string& stage)> SetStage;
    std::function<void(int percent)> SetProgress;
};

// The archive list's items by Domain, each domain's items by kind in list order.
// Items without a Url, and items without a safe archive path (they have no
// archived copy to link to), are left out.
std::unordered_map<std::string, DomainItems> GroupByDomain(const TCacheItemList& archiveList);

// Writes the pages of each of domains (the offline domain list) under archiveDir,
// with the stage "Indexing..." and a progress step per domain. Throws
// std::runtime_error when a page cannot be written; pages already written stay.
void WriteDomainPages(const std::string& archiveDir, const std::vector<std::string>& domains,
                      const TCacheItemList& archiveList, const IndexProgress& progress);

}  // namespace arkivo
