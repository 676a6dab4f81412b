#include "shell/prefs_rules.h"

#include "platform/file_system.h"

namespace arkivo {

std::string EmphasisPreviewText(std::string_view open, std::string_view close) {
    return "<" + std::string(open) + ">Link Here<" + std::string(close) + ">";
}

bool DirectoryEditsSetArchiveDir(Edition edition) {
    return edition == Edition::IE;
}

bool DirectoryEditsEnableApply(Edition edition) {
    return edition == Edition::Nav;
}

bool CacheIndexPathIsUsable(Edition edition, const std::string& cacheIndexPath) {
    return edition == Edition::IE || FileExists(cacheIndexPath);
}

}  // namespace arkivo
