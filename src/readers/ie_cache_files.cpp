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

bool CacheFileResolver::DirectoryInside(const std::string& dir) {
    const auto known = directoryInside_.find(dir);
    if (known != directoryInside_.end()) {
        return known->second;
    }
    const bool inside = !Exists(dir) || ResolvesInside(dir);
    directoryInside_.emplace(dir, inside);
    return inside;
}

std::string CacheFileResolver::FileToRead(const IeIndex& index, const IeUrlRecord& record) {
    const std::string path = NamedPath(index, record);
    if (path.empty() || !DirectoryInside(DirectoryPart(path))) {
        return {};
    }
    // A plain file in a directory inside the cache is inside; a link must resolve there.
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && !ResolvesInside(path)) {
        return {};
    }
    return path;
}

Status CacheFileResolver::EntryToRemove(const IeIndex& index, const IeUrlRecord& record,
                                        std::string& path) {
    path.clear();
    if (record.fileName.empty()) {
        return Status::Ok();
    }
    const std::string named = NamedPath(index, record);
    if (named.empty()) {
        return Status::Error(StatusCode::Refused,
                             "the entry's file name is not a plain file name: " + record.fileName);
    }
    if (!DirectoryInside(DirectoryPart(named))) {
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
