#include "readers/ie_cache_files.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>

#include "platform/file_system.h"
#include "platform/path.h"

namespace arkivo {
namespace {

// The path with every link resolved; empty when it does not exist.
std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (path.empty() || ::realpath(path.c_str(), resolved) == nullptr) {
        return {};
    }
    return resolved;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The entry name of dir, looked up without regard to case; the name as it is when
// there is no such entry.
std::string Entry(const std::string& dir, const std::string& name) {
    const std::string found = FindFileNoCase(dir, name);
    return found.empty() ? JoinPath(dir, name) : found;
}

}  // namespace

CacheFileResolver::CacheFileResolver(std::string cacheDirectory)
    : cacheDirectory_(std::move(cacheDirectory)),
      realCacheDirectory_(IncludeTrailingSeparator(RealPath(cacheDirectory_))) {}

std::string CacheFileResolver::NamedPath(const IeIndex& index, const IeUrlRecord& record) const {
    if (!IsSafePathComponent(record.fileName)) {
        return {};
    }
    std::string dir = cacheDirectory_;
    if (record.directoryIndex != ie_index::NoDirectory) {
        if (record.directoryIndex >= index.directories.size()) {
            return {};
        }
        const std::string& name = index.directories[record.directoryIndex].name;
        if (!IsSafePathComponent(name)) {
            return {};
        }
        dir = Entry(cacheDirectory_, name);
    }
    return Entry(dir, record.fileName);
}

bool CacheFileResolver::ResolvesInside(const std::string& path) const {
    const std::string real = RealPath(path);
    return !real.empty() && !realCacheDirectory_.empty() &&
           IncludeTrailingSeparator(real).starts_with(realCacheDirectory_);
}

std::string CacheFileResolver::FileToRead(const IeIndex& index, const IeUrlRecord& record) const {
    const std::string path = NamedPath(index, record);
    if (path.empty()) {
        return {};
    }
    if (Exists(path)) {
        return ResolvesInside(path) ? path : std::string();
    }
    // A missing file: its directory must still not lead out of the cache.
    const std::string dir = DirectoryPart(path);
    return !Exists(dir) || ResolvesInside(dir) ? path : std::string();
}

Status CacheFileResolver::EntryToRemove(const IeIndex& index, const IeUrlRecord& record,
                                        std::string& path) const {
    path.clear();
    if (record.fileName.empty()) {
        return Status::Ok();
    }
    const std::string named = NamedPath(index, record);
    if (named.empty()) {
        return Status::Error(StatusCode::Refused,
                             "the entry's file name is not a plain file name: " + record.fileName);
    }
    const std::string dir = ExcludeTrailingSeparator(DirectoryPart(named));
    if (Exists(dir) && !ResolvesInside(dir)) {
        return Status::Error(StatusCode::Refused,
                             "the entry's file lies outside the cache: " + named);
    }
    struct stat info {};
    if (::lstat(named.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        return Status::Error(StatusCode::Refused, "the entry's file is not a file: " + named);
    }
    path = named;
    return Status::Ok();
}

}  // namespace arkivo
