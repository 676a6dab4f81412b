#include "archiver/offline_index.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "archiver/index_pages.h"
#include "archiver/short_date.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/path.h"

namespace arkivo {
namespace {

void WriteIndexFile(const std::string& archiveDir, std::string_view name, const std::string& page) {
    const Status written = WriteFileAtomically(JoinPath(archiveDir, name), page);
    if (!written.ok()) {
        throw std::runtime_error(written.message());
    }
}

}  // namespace

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
    WriteIndexFile(archiveDir, IndexPageName, FramesetPage());
    WriteIndexFile(archiveDir, NotFoundPageName, NotFoundPage());
    WriteIndexFile(archiveDir, WelcomePageName, WelcomePage());
    WriteIndexFile(archiveDir, DomainListPageName,
                   DomainListPage(domains, FormatShortDate(Now(), UserShortDateFormat())));
    WriteDomainPages(archiveDir, domains, archiveList, progress);
}

}  // namespace arkivo
