#include "archive/archive_lock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "archive/archive_info.h"
#include "platform/file_system.h"

namespace arkivo {
namespace {

// The archive directory (depth 0), a domain folder (1), a type folder (2).
constexpr int DeepestFolder = 2;

void RemoveLeftoversIn(int dirFd, int depth) {
    const int listed = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listed < 0 ? nullptr : ::fdopendir(listed);
    if (dir == nullptr) {
        if (listed >= 0) {
            ::close(listed);
        }
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (IsTempFileName(name) || (depth == 0 && name == ArchiveInfoTempName)) {
            ::unlinkat(dirFd, entry->d_name, 0);
        } else if (depth < DeepestFolder && name != "." && name != ".." &&
                   (entry->d_type == DT_DIR || entry->d_type == DT_UNKNOWN)) {
            const UniqueFd sub(
                ::openat(dirFd, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (sub.Valid()) {
                RemoveLeftoversIn(sub.Get(), depth + 1);
            }
        }
    }
    ::closedir(dir);
}

}  // namespace

ArchiveLock::ArchiveLock(const std::string& archiveDir)
    : dir_(::open(archiveDir.empty() ? "." : archiveDir.c_str(),
                  O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!dir_.Valid()) {
        status_ = Status::Error(StatusCode::Unreadable,
                                "cannot open " + archiveDir + ": " + std::strerror(errno));
        return;
    }
    if (::flock(dir_.Get(), LOCK_EX | LOCK_NB) != 0) {
        status_ = errno == EWOULDBLOCK
                      ? Status::Error(StatusCode::Refused,
                                      std::string(ArchiveBusyText) + ": " + archiveDir)
                      : Status::Error(StatusCode::Unreadable,
                                      "cannot lock " + archiveDir + ": " + std::strerror(errno));
        return;
    }
    RemoveLeftoverTempFiles(dir_.Get());
}

void RemoveLeftoverTempFiles(int dirFd) {
    RemoveLeftoversIn(dirFd, 0);
}

}  // namespace arkivo
