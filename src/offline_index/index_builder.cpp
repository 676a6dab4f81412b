#include "offline_index/index_builder.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "offline_index/archive_page_text.h"
#include "offline_index/html_text.h"
#include "offline_index/short_date.h"
#include "platform/clock.h"
#include "platform/path.h"
#include "platform/rooted_files.h"

namespace arkivo {

void BuildOfflineIndex(const std::string& archiveDir, const TCacheItemList& archiveList,
                       const IndexProgress& progress) {
    // The old frameset would show a stale state of the archive: remove it first.
    const std::string framesetPath = JoinPath(archiveDir, IndexPageName);
    const int removed = RemoveFileBeneath(archiveDir, framesetPath);
    if (removed != 0 && removed != ENOENT) {
        throw std::runtime_error("cannot delete " + framesetPath + ": " + std::strerror(removed));
    }
    const std::vector<std::string> domains = OfflineDomainList(archiveList);
    if (domains.empty()) {
        return;
    }
    WriteIndexPage(archiveDir, framesetPath, FramesetPage());
    WriteIndexPage(archiveDir, JoinPath(archiveDir, NotFoundPageName), NotFoundPage());
    WriteIndexPage(archiveDir, JoinPath(archiveDir, WelcomePageName), WelcomePage());
    WriteIndexPage(archiveDir, JoinPath(archiveDir, DomainListPageName),
                   DomainListPage(domains, FormatShortDate(Now(), UserShortDateFormat())));
    WriteDomainPages(archiveDir, domains, archiveList, progress);
}

}  // namespace arkivo
