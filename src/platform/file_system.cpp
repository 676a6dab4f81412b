#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/path.h"

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

Status WriteError(const std::string& what, const std::string& path) {
    return Status::Error(StatusCode::WriteFailed, what + " " + path + ": " + std::strerror(errno));
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

int OpenRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const int fd = OpenRegularFile(path);
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

std::optional<std::int64_t> FileModificationTime(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(info.st_mtime);
}

int CreateFileBeside(const std::string& path, std::string& tempPath) {
    std::string pattern = DirectoryPart(path) + ".arkivo-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) {
        ::fchmod(fd, 0644);
        tempPath = pattern;
    }
    return fd;
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes,
                           const std::string& tempPath, Durability durability) {
    const bool sync = durability == Durability::Synced;
    std::string temp = tempPath;
    // A named temporary file is made anew: whatever has its name (a file left by a
    // killed run, or a link or FIFO planted there) is removed, never written through.
    if (!temp.empty()) {
        ::unlink(temp.c_str());
    }
    const int fd =
        temp.empty()
            ? CreateFileBeside(path, temp)
            : ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (temp.empty()) {
        temp = path;  // only for the message below
    }
    if (fd < 0) {
        return WriteError("cannot create", temp);
    }
    if (!WriteAll(fd, bytes) || (sync && ::fsync(fd) != 0)) {
        Status status = WriteError("cannot write", temp);
        ::close(fd);
        ::unlink(temp.c_str());
        return status;
    }
    if (::close(fd) != 0) {
        Status status = WriteError("cannot write", temp);
        ::unlink(temp.c_str());
        return status;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        Status status = WriteError("cannot replace", path);
        ::unlink(temp.c_str());
        return status;
    }
    if (!sync) {
        return Status::Ok();
    }
    // Make the rename itself durable.
    const std::string dir = DirectoryPart(path);
    const int dirFd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return Status::Ok();
}

}  // namespace arkivo
