#include "archiver/web_archive_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <unordered_set>

#include "platform/file_system.h"
#include "platform/json_text.h"
#include "platform/path.h"
#include "platform/rooted_files.h"
#include "platform/unique_fd.h"
#include "webarchive/cdxj.h"
#include "webarchive/warc_time.h"

namespace arkivo {
namespace {

constexpr std::string_view WarcExtension = ".warc.gz";
// The index is read whole; a larger one is refused rather than held in memory.
constexpr off_t IndexSizeLimit = off_t{256} * 1024 * 1024;

Status Failed(StatusCode code, const std::string& what, int error) {
    return Status::Error(code, what + ": " + std::strerror(error));
}

// "arkivo-20240131T120000Z.warc.gz", or "...Z-2.warc.gz" and on when a file, a
// folder or a link has that name.
std::string FreeWarcName(int dirFd, std::int64_t now) {
    const std::string stamp = CdxTimestamp(now);  // YYYYMMDDhhmmss
    const std::string base = "arkivo-" + stamp.substr(0, 8) + "T" + stamp.substr(8) + "Z";
    std::string name = base + std::string(WarcExtension);
    struct stat info {};
    for (int n = 2; ::fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0; ++n) {
        name = base + "-" + std::to_string(n) + std::string(WarcExtension);
    }
    return name;
}

// The lines of the folder's index, none when it has no index. Only a regular file
// of bounded size is read; anything else in its place is an error.
Status ReadIndexLines(int dirFd, const std::string& shownPath, std::vector<std::string>& lines) {
    const UniqueFd file(
        ::openat(dirFd, WebArchiveIndexName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.Valid()) {
        return errno == ENOENT ? Status::Ok()
                               : Failed(StatusCode::Unreadable, "cannot read " + shownPath, errno);
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        return Failed(StatusCode::Unreadable, "cannot read " + shownPath, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return Status::Error(StatusCode::Unreadable,
                             "cannot read " + shownPath + ": it is no regular file");
    }
    if (info.st_size > IndexSizeLimit) {
        return Status::Error(StatusCode::Unreadable,
                             "cannot read " + shownPath + ": it is larger than 256 MB");
    }
    std::string text;
    if (!ReadRest(file.Get(), text)) {
        return Failed(StatusCode::Unreadable, "cannot read " + shownPath, errno);
    }
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start) {
            lines.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return Status::Ok();
}

// The names of the WARC files in the folder that are regular files (a link to one
// is not); false when the folder cannot be listed.
bool ListWarcFiles(int dirFd, std::vector<std::string>& names) {
    const int listed = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listed < 0 ? nullptr : ::fdopendir(listed);
    if (dir == nullptr) {
        if (listed >= 0) {
            ::close(listed);
        }
        return false;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        struct stat info {};
        if (name.size() > WarcExtension.size() && name.ends_with(WarcExtension) &&
            ::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            names.emplace_back(name);
        }
        errno = 0;
    }
    const bool complete = errno == 0;
    ::closedir(dir);
    return complete;
}

// The index's new lines: the old ones whose WARC file is still there, and the new
// WARC's.
Status RewriteIndex(int dirFd, const std::string& shownPath, std::vector<std::string> oldLines,
                    const std::string& warcName, const std::vector<std::string>& newLines) {
    std::vector<std::string> files;
    if (!ListWarcFiles(dirFd, files)) {
        return Failed(StatusCode::Unreadable, "cannot list the folder of " + shownPath, errno);
    }
    // Lines naming the new file's name are stale: that name was free before this run.
    std::erase(files, warcName);
    std::unordered_set<std::string> names;
    for (const std::string& file : files) {
        names.insert(JsonString(file));
    }
    std::erase_if(oldLines, [&names](const std::string& line) {
        return names.count(std::string(CdxjFileNameText(line))) == 0;
    });
    oldLines.insert(oldLines.end(), newLines.begin(), newLines.end());
    SortCdxjLines(oldLines);
    const std::string text = CdxjText(oldLines);
    return ReplaceFileAt(
        dirFd, WebArchiveIndexName, [&text](int fd) { return WriteAll(fd, text); },
        ReplaceOptions{Durability::Synced, {}, shownPath});
}

}  // namespace

FolderWebArchive WriteFolderWebArchive(const std::string& archiveDir,
                                       const std::vector<const TCacheItem*>& items,
                                       const WarcSource& source, std::int64_t now,
                                       const ExportProgress& progress) {
    FolderWebArchive result;
    const std::string root = IncludeTrailingSeparator(archiveDir);
    const std::string folder = root + WebArchiveFolderName;
    MakeDirectoriesBeneath(root, folder);
    const UniqueFd dir(OpenBeneath(root, folder, O_RDONLY | O_DIRECTORY));
    if (!dir.Valid()) {
        result.Error =
            errno == EXDEV
                ? Status::Error(StatusCode::Refused,
                                "the folder " + folder + " leads out of the archive directory")
                : Failed(StatusCode::WriteFailed, "cannot open the folder " + folder, errno);
        return result;
    }
    const std::string indexPath = JoinPath(folder, WebArchiveIndexName);
    std::vector<std::string> oldLines;
    result.Error = ReadIndexLines(dir.Get(), indexPath, oldLines);
    if (!result.Error.ok()) {
        return result;
    }

    const std::string warcName = FreeWarcName(dir.Get(), now);
    const std::string warcPath = JoinPath(folder, warcName);
    WebArchiveTargets targets;
    targets.Warc = ExportTarget{dir.Get(), warcName, warcPath};
    targets.WarcName = warcName;
    result.Export = ExportWebArchive(items, source, targets, now, progress);
    if (!result.Export.Error.ok()) {
        if (!result.Export.Cancelled) {
            result.Error = result.Export.Error;
        }
        return result;
    }
    result.WarcPath = warcPath;
    result.Error =
        RewriteIndex(dir.Get(), indexPath, std::move(oldLines), warcName, result.Export.CdxjLines);
    return result;
}

}  // namespace arkivo
