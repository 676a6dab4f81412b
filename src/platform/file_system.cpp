#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "platform/path.h"
#include "platform/unique_fd.h"

namespace arkivo {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

Status WriteError(const std::string& what, std::string_view path) {
    return Status::Error(StatusCode::WriteFailed,
                         what + " " + std::string(path) + ": " + std::strerror(errno));
}

constexpr std::size_t TempFileNameLength = TempFilePrefix.size() + 6;

// A new file of a fresh temporary name in dirFd, made without following a link or
// opening anything that was there; sets name.
int CreateTempFileAt(int dirFd, std::string& name) {
    static constexpr std::string_view Letters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, Letters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name.assign(TempFilePrefix);
        while (name.size() < TempFileNameLength) {
            name += Letters[pick(random)];
        }
        const int fd = ::openat(dirFd, name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// The first entry of dir whose name matches ignoring case, from its listing.
std::string FindListedFileNoCase(const std::string& dir, std::string_view name) {
    if (name.empty()) {
        return {};
    }
    DIR* handle = ::opendir(dir.empty() ? "." : dir.c_str());
    if (handle == nullptr) {
        return {};
    }
    std::string found;
    while (const dirent* entry = ::readdir(handle)) {
        if (EqualsNoCase(entry->d_name, name)) {
            found = JoinPath(dir, entry->d_name);
            break;
        }
    }
    ::closedir(handle);
    return found;
}

}  // namespace

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string FindFileNoCase(const std::string& dir, std::string_view name) {
    if (name.empty()) {
        return {};
    }
    const std::string exact = JoinPath(dir, name);
    struct stat info {};
    if (::lstat(exact.c_str(), &info) == 0) {
        return exact;
    }
    return FindListedFileNoCase(dir, name);
}

bool IsFileAfterLstat(const std::string& path, const struct stat& info) {
    return S_ISLNK(info.st_mode) ? FileExists(path) : S_ISREG(info.st_mode);
}

bool ReadRest(int fd, std::string& bytes) {
    constexpr std::size_t FirstRead = 65536;
    struct stat info {};
    std::size_t expected = 0;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        expected = static_cast<std::size_t>(info.st_size);
    }
    // Room for the whole file and one byte more, so that its end shows without the
    // buffer growing (and being copied) on the way.
    bytes.assign(std::max(expected + 1, FirstRead), '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            bytes.resize(2 * bytes.size());
        }
        const ssize_t got = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            bytes.clear();
            return false;
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    bytes.resize(used);
    return true;
}

bool ReadAt(int fd, std::uint64_t offset, std::size_t size, std::string& bytes) {
    bytes.resize(size);
    std::size_t done = 0;
    bool failed = false;
    while (done < size) {
        const ssize_t got =
            ::pread(fd, bytes.data() + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        failed = got < 0;
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return !failed;
}

int RegularFileOnly(int fd) {
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

int OpenRegularFile(const std::string& path) {
    return RegularFileOnly(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
}

std::optional<std::string> ReadAndClose(int fd) {
    if (fd < 0) {
        return std::nullopt;
    }
    std::string bytes;
    const bool read = ReadRest(fd, bytes);
    ::close(fd);
    if (!read) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    return ReadAndClose(OpenRegularFile(path));
}

std::optional<std::int64_t> FileModificationTime(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(info.st_mtime);
}

bool IsTempFileName(std::string_view name) {
    return name.size() == TempFileNameLength && name.starts_with(TempFilePrefix);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

Status ReplaceFileAt(int dirFd, const std::string& name, const FileFiller& fill,
                     const ReplaceOptions& options) {
    const bool sync = options.Sync == Durability::Synced;
    std::string temp = options.TempName;
    int fd = -1;
    if (temp.empty()) {
        fd = CreateTempFileAt(dirFd, temp);
    } else {
        ::unlinkat(dirFd, temp.c_str(), 0);
        fd = ::openat(dirFd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0644);
    }
    const std::string& shown = options.ShownPath.empty() ? name : options.ShownPath;
    if (fd < 0) {
        return WriteError("cannot create a file beside", shown);
    }
    if (!fill(fd) || (sync && ::fsync(fd) != 0)) {
        Status status = WriteError("cannot write", shown);
        ::close(fd);
        ::unlinkat(dirFd, temp.c_str(), 0);
        return status;
    }
    if (::close(fd) != 0) {
        Status status = WriteError("cannot write", shown);
        ::unlinkat(dirFd, temp.c_str(), 0);
        return status;
    }
    if (::renameat(dirFd, temp.c_str(), dirFd, name.c_str()) != 0) {
        Status status = WriteError("cannot replace", shown);
        ::unlinkat(dirFd, temp.c_str(), 0);
        return status;
    }
    if (sync) {
        ::fsync(dirFd);  // makes the rename itself durable
    }
    return Status::Ok();
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes, Durability durability) {
    const std::string dir = DirectoryPart(path);
    const UniqueFd dirFd(
        ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dirFd.Valid()) {
        return WriteError("cannot open the folder of", path);
    }
    return ReplaceFileAt(
        dirFd.Get(), FileNamePart(path), [bytes](int fd) { return WriteAll(fd, bytes); },
        ReplaceOptions{durability, {}, path});
}

}  // namespace arkivo
