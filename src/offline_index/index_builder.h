#pragma once
// The archive's generated index: "1st_page.htm" and the pages it frames. They are
// rebuilt from the whole archive list after every completed run.

#include <string>

#include "model/cache_item.h"
#include "offline_index/domain_page_writer.h"

namespace arkivo {

inline constexpr const char* IndexPageName = "1st_page.htm";

// Rebuilds the index pages of archiveDir from the archive list: deletes
// "1st_page.htm", and when the list names any domain writes "1st_page.htm",
// "notfound.htm", "indpage.htm", "indlist.htm" and then every domain's pages.
// Throws std::runtime_error, naming the file, when a page cannot be written.
void BuildOfflineIndex(const std::string& archiveDir, const TCacheItemList& archiveList,
                       const IndexProgress& progress);

}  // namespace arkivo
