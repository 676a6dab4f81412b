#include "model/file_utils.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_system.h"
#include "platform/path.h"

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

bool CopyFileOver(const std::string& source, const std::string& target) {
    const int in = OpenRegularFile(source);
    if (in < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(in, &info) != 0) {
        ::close(in);
        return false;
    }
    // The copy goes to a temporary file that replaces the target only when complete,
    // so a failed copy never destroys what the target held.
    std::string temp;
    const int out = CreateFileBeside(target, temp);
    if (out < 0) {
        ::close(in);
        return false;
    }
    const bool copied = CopyContents(in, out, info.st_size);
    const bool closed = ::close(out) == 0;
    ::close(in);
    if (!copied || !closed || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace arkivo
