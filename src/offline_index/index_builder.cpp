#include "offline_index/index_builder.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "offline_index/archive_page_text.h"
#include "offline_index/html_text.h"
#include "offline_index/short_date.h"
#include "platform/clock.h"
#include "platform/path.h"

namespace arkivo {

void BuildOfflineIndex(const std::string& archiveDir, const TCacheItemList& archiveList,
                       const IndexProgress& progress) {
    // The old frameset would show a stale state of the archive: remove it first.
    const std::string framesetPath = JoinPath(archiveDir, IndexPageName);
    if (::unlink(framesetPath.c_str()) != 0 && errno != ENOENT) {
        throw std::runtime_error("cannot delete " + framesetPath + ": " + std::strerror(errno));
    }
    const std::vector<std::string> domains = OfflineDomainList(archiveList);
    if (domains.empty()) {
        return;
    }
    WriteIndexPage(framesetPath, FramesetPage());
    WriteIndexPage(JoinPath(archiveDir, NotFoundPageName), NotFoundPage());
    WriteIndexPage(JoinPath(archiveDir, WelcomePageName), WelcomePage());
    WriteIndexPage(JoinPath(archiveDir, DomainListPageName),
                   DomainListPage(domains, FormatShortDate(Now(), UserShortDateFormat())));
    WriteDomainPages(archiveDir, domains, archiveList, progress);
}

}  // namespace arkivo
