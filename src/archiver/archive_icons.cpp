#include "archiver/archive_icons.h"

#include "model/file_utils.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/program_dir.h"

namespace arkivo {
namespace {

std::string ImagesDir(const std::string& baseDir) {
    return JoinPath(baseDir, "images") + PathSeparator;
}

}  // namespace

void EnsureIcons(const std::string& archiveDir) {
    const std::string images = ImagesDir(archiveDir);
    if (!IsDirectory(images)) {
        MakeDirectoryPath(images);
    }
    for (std::string_view word : IconWords) {
        CopyIcon(archiveDir, word);
    }
}

void CopyIcon(const std::string& archiveDir, std::string_view word) {
    const std::string fileName = std::string(word) + ".gif";
    const std::string target = ImagesDir(archiveDir) + fileName;
    if (FileExists(target)) {
        return;
    }
    CopyFileOver(ImagesDir(ProgramDir()) + fileName, target);
}

}  // namespace arkivo
