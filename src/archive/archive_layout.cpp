#include "archive/archive_layout.h"

#include "archive/link_text.h"
#include "model/content_types.h"
#include "platform/path.h"

namespace arkivo {

std::string ArchiveFolderOf(int kind) {
    std::string folder = MajorTypeOf(kind);
    return IsSafePathComponent(folder) ? folder : "other";
}

bool HasSafeArchivePath(const TCacheItem& item) {
    return IsSafePathComponent(item.Domain) && IsSafePathComponent(item.ArchiveName);
}

std::optional<std::string> ArchiveFolderPath(const std::string& archiveDir,
                                             const TCacheItem& item) {
    if (!IsSafePathComponent(item.Domain)) {
        return std::nullopt;
    }
    return JoinPath(JoinPath(archiveDir, item.Domain), ArchiveFolderOf(item.Kind)) + PathSeparator;
}

std::optional<std::string> ArchivePathOf(const std::string& archiveDir, const TCacheItem& item) {
    if (!HasSafeArchivePath(item)) {
        return std::nullopt;
    }
    return *ArchiveFolderPath(archiveDir, item) + item.ArchiveName;
}

std::string ArchiveLinkOf(const TCacheItem& item) {
    return "../../" +
           LinkText(item.Domain + "/" + ArchiveFolderOf(item.Kind) + "/" + item.ArchiveName);
}

}  // namespace arkivo
