#include "offline_index/domain_page_writer.h"

#include "archive/archive_layout.h"
#include "offline_index/html_text.h"
#include "platform/path.h"
#include "platform/rooted_files.h"

namespace arkivo {
namespace {

int PercentOf(std::size_t position, std::size_t count) {
    return count == 1 ? 100 : static_cast<int>(position * 100 / (count - 1));
}

void WritePagesOf(const std::string& archiveDir, const std::string& domain,
                  const DomainItems& items) {
    const std::string domainDir = JoinPath(archiveDir, domain) + PathSeparator;
    MakeDirectoriesBeneath(archiveDir, domainDir);
    for (FileClass kind : {FileClass::Text, FileClass::Image, FileClass::Audio, FileClass::Video,
                           FileClass::Other}) {
        WriteIndexPage(archiveDir, domainDir + std::string(KindPageName(kind)),
                       KindPage(kind, domain, items));
    }
    WriteIndexPage(
        archiveDir, domainDir + std::string(ThumbnailPageName),
        ThumbnailPage(domain, items, [&](const TCacheItem& item) -> std::optional<Thumbnail> {
            const auto path = ArchivePathOf(archiveDir, item);
            return path ? ThumbnailSize(archiveDir, *path) : std::nullopt;
        }));
}

}  // namespace

std::unordered_map<std::string, DomainItems> GroupByDomain(const TCacheItemList& archiveList) {
    std::unordered_map<std::string, DomainItems> byDomain;
    for (const auto& item : archiveList) {
        if (!item || item->Url.empty() || !HasSafeArchivePath(*item)) {
            continue;
        }
        byDomain[item->Domain][static_cast<std::size_t>(FileClassOf(item->Kind))].push_back(
            item.get());
    }
    return byDomain;
}

void WriteDomainPages(const std::string& archiveDir, const std::vector<std::string>& domains,
                      const TCacheItemList& archiveList, const IndexProgress& progress) {
    if (progress.SetStage) {
        progress.SetStage(IndexingStageText);
    }
    if (progress.SetProgress) {
        progress.SetProgress(0);
    }
    const auto byDomain = GroupByDomain(archiveList);
    const DomainItems none;
    for (std::size_t i = 0; i < domains.size(); ++i) {
        if (progress.SetProgress) {
            progress.SetProgress(PercentOf(i, domains.size()));
        }
        const auto found = byDomain.find(domains[i]);
        WritePagesOf(archiveDir, domains[i], found == byDomain.end() ? none : found->second);
    }
}

}  // namespace arkivo
