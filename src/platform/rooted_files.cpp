#include "platform/rooted_files.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/path.h"

namespace arkivo {
namespace {

// Set once openat2 turned out missing (an old kernel) or refused (a sandbox's
// system-call filter), so that later lookups go straight to the walk.
std::atomic<bool> openat2Unavailable{false};

int OpenConfined(int rootFd, const std::string& relative, int flags, mode_t mode) {
    if (!openat2Unavailable.load(std::memory_order_relaxed)) {
        const int fd = beneath::OpenWithOpenat2(rootFd, relative, flags, mode);
        if (fd >= 0 || (errno != ENOSYS && errno != EPERM)) {
            return fd;
        }
        openat2Unavailable.store(true, std::memory_order_relaxed);
    }
    return beneath::OpenByWalk(rootFd, relative, flags, mode);
}

// The root, opened, and path relative to it ("." for the root itself).
struct Rooted {
    UniqueFd Root;
    std::string Relative;
};

std::optional<Rooted> Resolve(const std::string& root, std::string_view path) {
    const std::string prefix = IncludeTrailingSeparator(root);
    std::string relative;
    if (path.starts_with(prefix)) {
        relative = path.substr(prefix.size());
    } else if (path != ExcludeTrailingSeparator(root)) {
        errno = EXDEV;
        return std::nullopt;
    }
    if (relative.empty()) {
        relative = ".";
    } else if (relative.front() == PathSeparator) {
        errno = EXDEV;  // "/" after the root's own separator: another absolute path
        return std::nullopt;
    }
    Rooted rooted{
        UniqueFd(::open(root.empty() ? "." : root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)),
        std::move(relative)};
    if (!rooted.Root.Valid()) {
        return std::nullopt;
    }
    return rooted;
}

// The directory holding path, opened beneath root with flags, and path's last part.
UniqueFd OpenParent(const std::string& root, std::string_view path, int flags, std::string& leaf) {
    auto rooted = Resolve(root, path);
    if (!rooted) {
        return UniqueFd();
    }
    const std::string relative = ExcludeTrailingSeparator(rooted->Relative);
    leaf = FileNamePart(relative);
    if (!IsSafePathComponent(leaf)) {
        errno = EINVAL;  // the root itself, or a path ending in "." or ".."
        return UniqueFd();
    }
    std::string dir = ExcludeTrailingSeparator(DirectoryPart(relative));
    if (dir.empty()) {
        dir = ".";
    }
    return UniqueFd(OpenConfined(rooted->Root.Get(), dir, flags | O_DIRECTORY, 0));
}

}  // namespace

namespace beneath {

int OpenWithOpenat2(int rootFd, const std::string& relative, int flags, mode_t mode) {
    open_how how{};
    how.flags = static_cast<std::uint64_t>(flags | O_CLOEXEC);
    how.mode = (flags & O_CREAT) != 0 ? mode : 0;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    for (;;) {
        const long fd = ::syscall(SYS_openat2, rootFd, relative.c_str(), &how, sizeof how);
        // EAGAIN: a rename elsewhere raced a ".." on the way; the lookup may be retried.
        if (fd >= 0 || (errno != EAGAIN && errno != EINTR)) {
            return static_cast<int>(fd);
        }
    }
}

int OpenByWalk(int rootFd, const std::string& relative, int flags, mode_t mode) {
    std::vector<std::string_view> parts;
    std::string_view rest = relative;
    if (rest.starts_with(PathSeparator)) {
        errno = EXDEV;
        return -1;
    }
    while (!rest.empty()) {
        const std::size_t cut = rest.find(PathSeparator);
        const std::string_view part = rest.substr(0, cut);
        if (part == "..") {
            errno = EXDEV;  // only the kernel can tell whether ".." stays inside
            return -1;
        }
        if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    if (parts.empty()) {
        return ::openat(rootFd, ".", flags | O_CLOEXEC, mode);
    }
    UniqueFd dir;
    int at = rootFd;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        // A link, wherever it leads, is opened as itself and then is no directory.
        dir.Reset(::openat(at, std::string(parts[i]).c_str(),
                           O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!dir.Valid()) {
            return -1;
        }
        at = dir.Get();
    }
    return ::openat(at, std::string(parts.back()).c_str(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
}

}  // namespace beneath

int OpenBeneath(const std::string& root, std::string_view path, int flags, mode_t mode) {
    const auto rooted = Resolve(root, path);
    return rooted ? OpenConfined(rooted->Root.Get(), rooted->Relative, flags, mode) : -1;
}

int OpenRegularFileBeneath(const std::string& root, std::string_view path) {
    return RegularFileOnly(OpenBeneath(root, path, O_RDONLY | O_NONBLOCK));
}

std::optional<std::string> ReadFileBeneath(const std::string& root, std::string_view path) {
    return ReadAndClose(OpenRegularFileBeneath(root, path));
}

bool IsFileBeneath(const std::string& root, std::string_view path) {
    const UniqueFd fd(OpenBeneath(root, path, O_PATH));
    struct stat info {};
    return fd.Valid() && ::fstat(fd.Get(), &info) == 0 && S_ISREG(info.st_mode);
}

bool ExistsBeneath(const std::string& root, std::string_view path) {
    std::string leaf;
    const UniqueFd dir = OpenParent(root, path, O_PATH, leaf);
    struct stat info {};
    return dir.Valid() && ::fstatat(dir.Get(), leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

bool MakeDirectoriesBeneath(const std::string& root, std::string_view path) {
    auto rooted = Resolve(root, path);
    if (!rooted) {
        return false;
    }
    // Each level is opened beneath the root before the next is made in it, so a link
    // met on the way is judged by where it leads.
    const std::string& relative = rooted->Relative;
    // Most calls find the directory there already: one lookup settles them.
    if (UniqueFd(OpenConfined(rooted->Root.Get(), relative, O_PATH | O_DIRECTORY, 0)).Valid()) {
        return true;
    }
    UniqueFd dir(::openat(rooted->Root.Get(), ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    std::size_t start = 0;
    while (dir.Valid() && start < relative.size()) {
        std::size_t cut = relative.find(PathSeparator, start);
        if (cut == std::string::npos) {
            cut = relative.size();
        }
        const std::string part = relative.substr(start, cut - start);
        if (!part.empty() && part != ".") {
            const std::string prefix = relative.substr(0, cut);
            int next = OpenConfined(rooted->Root.Get(), prefix, O_PATH | O_DIRECTORY, 0);
            if (next < 0 && errno == ENOENT && IsSafePathComponent(part) &&
                (::mkdirat(dir.Get(), part.c_str(), 0755) == 0 || errno == EEXIST)) {
                next = OpenConfined(rooted->Root.Get(), prefix, O_PATH | O_DIRECTORY, 0);
            }
            dir.Reset(next);
        }
        start = cut + 1;
    }
    return dir.Valid();
}

int RemoveFileBeneath(const std::string& root, std::string_view path) {
    std::string leaf;
    const UniqueFd dir = OpenParent(root, path, O_PATH, leaf);
    if (!dir.Valid()) {
        return errno;
    }
    return ::unlinkat(dir.Get(), leaf.c_str(), 0) == 0 ? 0 : errno;
}

Status ReplaceFileBeneath(const std::string& root, std::string_view path, const FileFiller& fill,
                          ReplaceOptions options) {
    if (options.ShownPath.empty()) {
        options.ShownPath = path;
    }
    std::string leaf;
    const UniqueFd dir = OpenParent(root, path, O_RDONLY, leaf);
    if (!dir.Valid()) {
        return Status::Error(
            StatusCode::WriteFailed,
            "cannot open the folder of " + options.ShownPath + ": " + std::strerror(errno));
    }
    return ReplaceFileAt(dir.Get(), leaf, fill, options);
}

Status WriteFileBeneath(const std::string& root, std::string_view path, std::string_view bytes,
                        ReplaceOptions options) {
    return ReplaceFileBeneath(
        root, path, [bytes](int fd) { return WriteAll(fd, bytes); }, std::move(options));
}

}  // namespace arkivo
