#include "model/file_utils.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/rooted_files.h"

namespace arkivo {
namespace {

// Copies through a user-space buffer when the kernel copy is not available for
// this pair of files.
bool CopyByReading(int in, int out) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        for (ssize_t written = 0; written < got;) {
            const ssize_t put =
                ::write(out, buffer + written, static_cast<std::size_t>(got - written));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put < 0) {
                return false;
            }
            written += put;
        }
    }
}

bool CopyContents(int in, int out, off_t size) {
    off_t copied = 0;
    while (copied < size) {
        const ssize_t moved = ::copy_file_range(in, nullptr, out, nullptr,
                                                static_cast<std::size_t>(size - copied), 0);
        if (moved < 0 && errno == EINTR) {
            continue;
        }
        if (moved < 0 && copied == 0 &&
            (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
            return CopyByReading(in, out);
        }
        if (moved <= 0) {
            // The source shrank or the copy failed; whatever is left is read normally.
            return moved == 0 && CopyByReading(in, out);
        }
        copied += moved;
    }
    return true;
}

}  // namespace

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void MakeDirectoryPath(const std::string& path) {
    const std::string dir = ExcludeTrailingSeparator(path);
    if (dir.empty() || dir == std::string(1, PathSeparator) || IsDirectory(dir)) {
        return;
    }
    const std::string parent = DirectoryPart(dir);
    if (!parent.empty()) {
        MakeDirectoryPath(parent);
    }
    ::mkdir(dir.c_str(), 0755);
}

Status CopyFileBeneath(int source, const std::string& root, const std::string& target) {
    struct stat info {};
    if (::fstat(source, &info) != 0) {
        return Status::Error(StatusCode::Unreadable,
                             "cannot read the file for " + target + ": " + std::strerror(errno));
    }
    // The copy goes to a temporary file that replaces the target only when complete,
    // so a failed copy never destroys what the target held.
    return ReplaceFileBeneath(
        root, target, [&](int out) { return CopyContents(source, out, info.st_size); },
        ReplaceOptions{Durability::Unsynced, {}, {}});
}

}  // namespace arkivo
