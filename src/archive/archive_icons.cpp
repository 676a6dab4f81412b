#include "archive/archive_icons.h"

#include "model/file_utils.h"
#include "model/url.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/program_dir.h"
#include "platform/rooted_files.h"

namespace arkivo {
namespace {

std::string ImagesDir(const std::string& baseDir) {
    return JoinPath(baseDir, "images") + PathSeparator;
}

// Gives the icon its page spelling beside its own name. On a file system that
// ignores letter case the two are one file, which then exists already.
void CopyPageSpelling(const std::string& archiveDir, std::string_view spelling) {
    const std::string images = ImagesDir(archiveDir);
    const std::string target = images + std::string(spelling) + ".gif";
    if (IsFileBeneath(archiveDir, target)) {
        return;
    }
    const UniqueFd icon(OpenRegularFileBeneath(archiveDir, images + LowerCase(spelling) + ".gif"));
    if (icon.Valid()) {
        CopyFileBeneath(icon.Get(), archiveDir, target);
    }
}

}  // namespace

void EnsureIcons(const std::string& archiveDir) {
    const std::string images = ImagesDir(archiveDir);
    MakeDirectoriesBeneath(archiveDir, images);
    for (std::string_view word : IconWords) {
        CopyIcon(archiveDir, word);
    }
    for (std::string_view spelling : IconPageSpellings) {
        CopyPageSpelling(archiveDir, spelling);
    }
}

void CopyIcon(const std::string& archiveDir, std::string_view word) {
    const std::string fileName = std::string(word) + ".gif";
    const std::string target = ImagesDir(archiveDir) + fileName;
    if (IsFileBeneath(archiveDir, target)) {
        return;
    }
    const UniqueFd icon(OpenRegularFile(ImagesDir(ProgramDataDir()) + fileName));
    if (icon.Valid()) {
        CopyFileBeneath(icon.Get(), archiveDir, target);
    }
}

}  // namespace arkivo
