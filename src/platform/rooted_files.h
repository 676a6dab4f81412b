#pragma once
// Files of a cache or an archive, reached through the tree's root directory. Such a
// tree comes from old disks and other people: a folder or file in it may be a link
// to anywhere (cache/14 -> /home/you, shadow.txt -> /etc/shadow, images ->
// /elsewhere). So every path built from cache or archive data is resolved relative
// to its root and may not leave it, whatever links lie on the way: links that stay
// inside are followed, the others fail with EXDEV (ELOOP where the kernel cannot
// confine a lookup and every link is refused instead). The root itself is the
// user's choice and trusted, a link to it included.
//
// Paths are given whole, as the callers build them (root + "www.x.example/text/a.htm");
// one that does not start with the root fails with EXDEV. Failures set errno.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/status.h"
#include "platform/unique_fd.h"

namespace arkivo {

// Opens path beneath root with open(2)'s flags (O_CLOEXEC is added); -1 on failure.
int OpenBeneath(const std::string& root, std::string_view path, int flags, mode_t mode = 0);

// Opens path beneath root for reading only when it is a regular file, without ever
// blocking; -1 otherwise, with errno EINVAL when it exists but is no regular file.
int OpenRegularFileBeneath(const std::string& root, std::string_view path);

// The whole regular file at path beneath root; std::nullopt when it cannot be read.
std::optional<std::string> ReadFileBeneath(const std::string& root, std::string_view path);

// Whether path beneath root is a regular file (links inside followed).
bool IsFileBeneath(const std::string& root, std::string_view path);

// Whether anything has the name path beneath root: a link counts as itself, wherever
// it leads.
bool ExistsBeneath(const std::string& root, std::string_view path);

// Creates the directory path beneath root and its missing parents; true when it is
// a directory afterwards.
bool MakeDirectoriesBeneath(const std::string& root, std::string_view path);

// Removes the file path beneath root; a link is removed itself, never what it leads
// to. 0, or the errno of the failure.
int RemoveFileBeneath(const std::string& root, std::string_view path);

// Replaces the file path beneath root as ReplaceFileAt does, in its directory opened
// beneath root.
Status ReplaceFileBeneath(const std::string& root, std::string_view path, const FileFiller& fill,
                          ReplaceOptions options = {});

// Replaces the file path beneath root by one holding bytes.
Status WriteFileBeneath(const std::string& root, std::string_view path, std::string_view bytes,
                        ReplaceOptions options = {});

// The two ways a path is confined, for the tests of each: the kernel's openat2 with
// RESOLVE_BENEATH (-1 with errno ENOSYS where it is missing), and a walk that opens
// one component at a time and refuses every link. relative must not be empty.
namespace beneath {
int OpenWithOpenat2(int rootFd, const std::string& relative, int flags, mode_t mode);
int OpenByWalk(int rootFd, const std::string& relative, int flags, mode_t mode);
}  // namespace beneath

}  // namespace arkivo
