#pragma once
// The archive's generated index: "1st_page.htm" and the pages it frames. They are
// rebuilt from the whole archive list after every completed run.

#include <functional>
#include <string>

#include "model/cache_item.h"

namespace arkivo {

inline constexpr const char* IndexPageName = "1st_page.htm";

struct IndexProgress {
    std::function<void(const std::string& stage)> SetStage;
    std::function<void(int percent)> SetProgress;
};

// Rebuilds the index pages of archiveDir from the archive list.
void BuildOfflineIndex(const std::string& archiveDir, const TCacheItemList& archiveList,
                       const IndexProgress& progress);

}  // namespace arkivo
