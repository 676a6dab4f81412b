#pragma once
// Small file-system services the core needs beyond the standard library: existence
// tests, looking a name up without regard to letter case (names written on Windows,
// such as "Fat.db", meet a case-sensitive file system here), whole-file reads, and the
// crash-safe replacement of a file that every saved file goes through.

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace arkivo {

// True when the path names an existing regular file (links followed).
bool FileExists(const std::string& path);

// A path a look-up gave, and whether it names a regular file (links followed), as
// learnt on the way, so that no one needs to ask the file system again.
struct FoundFile {
    std::string Path;
    bool IsFile = false;
};

// The full path of the entry of dir whose name equals name ignoring ASCII letter case;
// an exact match wins over the others. Empty when there is none or dir is unreadable.
std::string FindFileNoCase(const std::string& dir, std::string_view name);

// Whether a path whose lstat gave info names a regular file, links followed: only a
// link costs another call.
bool IsFileAfterLstat(const std::string& path, const struct stat& info);

// Opens path for reading only when it is a regular file (links followed), without
// ever blocking: a FIFO or device where a file belongs would hang a plain open.
// -1 otherwise, with errno EINVAL when path exists but is no regular file.
int OpenRegularFile(const std::string& path);

// fd when it is open on a regular file; otherwise -1, with errno EINVAL, and fd closed.
int RegularFileOnly(int fd);

// The whole file as bytes; std::nullopt when it cannot be opened as a regular file
// or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Everything left to read from fd, which is closed; std::nullopt when fd is -1 or a
// read fails.
std::optional<std::string> ReadAndClose(int fd);

// Everything left to read from the open descriptor, into bytes (replacing what was
// there), read straight into a buffer of the file's size; false, with errno set,
// when a read fails.
bool ReadRest(int fd, std::string& bytes);

// Reads up to size bytes of fd from offset into bytes, fewer at the end of the file;
// false, with errno set and bytes holding what was read, when a read fails.
bool ReadAt(int fd, std::uint64_t offset, std::size_t size, std::string& bytes);

// Modification time of the file as Unix seconds; std::nullopt when it does not exist.
std::optional<std::int64_t> FileModificationTime(const std::string& path);

enum class Durability {
    Synced,    // data and rename reach the disk before the call returns
    Unsynced,  // left to the kernel: a failed write still never harms the old file
};

// Temporary files are named ".arkivo-" and six letters or digits, so that files a
// killed run left behind can be told from everything else.
inline constexpr std::string_view TempFilePrefix = ".arkivo-";
bool IsTempFileName(std::string_view name);

// Writes a replacement file's contents to fd; false, with errno set, when it fails.
using FileFiller = std::function<bool(int fd)>;

struct ReplaceOptions {
    Durability Sync = Durability::Synced;
    // A fixed name for the temporary file (such as "archive.tmp"); empty for a new
    // uniquely named one.
    std::string TempName;
    // The target as messages name it.
    std::string ShownPath;
};

// Replaces the entry name of the directory dirFd by a file that fill writes, so that a
// crash at any moment leaves either the old file or the new one, never a torn or
// missing one: the bytes go to a temporary file in the same directory, are synced,
// and the temporary file is renamed over name; then the directory is synced.
// Whatever has the temporary file's name (a file left by a killed run, or a link or
// FIFO planted there) is removed, never written through, and so is a link or FIFO of
// the target's name: the rename replaces it. Unsynced skips both syncs, for the many
// files of an archive run, where a failed or cut-short write must still leave an
// earlier copy in place.
Status ReplaceFileAt(int dirFd, const std::string& name, const FileFiller& fill,
                     const ReplaceOptions& options);

// Replaces path by a file holding bytes, as ReplaceFileAt does in path's directory.
Status WriteFileAtomically(const std::string& path, std::string_view bytes,
                           Durability durability = Durability::Synced);

// Writes all of bytes to fd; false, with errno set, when a write fails.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace arkivo
