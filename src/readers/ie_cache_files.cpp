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

}  // namespace

CacheFileResolver::CacheFileResolver(std::string cacheDirectory)
    : cacheDirectory_(std::move(cacheDirectory)),
      realCacheDirectory_(IncludeTrailingSeparator(RealPath(cacheDirectory_))) {}

CacheFileResolver::Directory* CacheFileResolver::DirectoryOf(const IeIndex& index,
                                                             const IeUrlRecord& record) {
    std::string name;
    if (record.directoryIndex != ie_index::NoDirectory) {
        if (record.directoryIndex >= index.directories.size()) {
            return nullptr;
        }
        name = index.directories[record.directoryIndex].name;
        if (!IsSafePathComponent(name)) {
            return nullptr;
        }
    }
    const auto known = directories_.find(name);
    if (known != directories_.end()) {
        return &known->second;
    }
    Directory dir;
    dir.path = name.empty() ? cacheDirectory_ : FindFileNoCase(cacheDirectory_, name);
    if (dir.path.empty()) {
        dir.path = JoinPath(cacheDirectory_, name);
    }
    struct stat info {};
    dir.exists = ::lstat(dir.path.c_str(), &info) == 0;
    dir.inside = !dir.exists || ResolvesInside(dir.path);
    return &directories_.emplace(name, std::move(dir)).first->second;
}

bool CacheFileResolver::LookUp(Directory& dir, const std::string& name, std::string& path,
                               struct stat& info) {
    path = JoinPath(dir.path, name);
    if (!dir.exists) {
        return false;
    }
    if (::lstat(path.c_str(), &info) == 0) {
        return true;
    }
    if (!dir.listing) {
        dir.listing.emplace(dir.path);
    }
    const NoCaseListing::Entry* found = dir.listing->Find(name);
    if (found == nullptr || found->name == name) {
        return false;
    }
    path = JoinPath(dir.path, found->name);
    return ::lstat(path.c_str(), &info) == 0;
}

bool CacheFileResolver::ResolvesInside(const std::string& path) const {
    const std::string real = RealPath(path);
    return !real.empty() && !realCacheDirectory_.empty() &&
           IncludeTrailingSeparator(real).starts_with(realCacheDirectory_);
}

FoundFile CacheFileResolver::FileToRead(const IeIndex& index, const IeUrlRecord& record) {
    if (!IsSafePathComponent(record.fileName)) {
        return {};
    }
    Directory* dir = DirectoryOf(index, record);
    if (dir == nullptr || !dir->inside) {
        return {};
    }
    FoundFile file;
    struct stat info {};
    if (!LookUp(*dir, record.fileName, file.path, info)) {
        return file;
    }
    // A plain file in a directory inside the cache is inside; a link must resolve there.
    if (S_ISLNK(info.st_mode) && !ResolvesInside(file.path)) {
        return {};
    }
    file.isFile = IsFileAfterLstat(file.path, info);
    return file;
}

Status CacheFileResolver::EntryToRemove(const IeIndex& index, const IeUrlRecord& record,
                                        std::string& path) {
    path.clear();
    if (record.fileName.empty()) {
        return Status::Ok();
    }
    Directory* dir = IsSafePathComponent(record.fileName) ? DirectoryOf(index, record) : nullptr;
    if (dir == nullptr) {
        return Status::Error(StatusCode::Refused,
                             "the entry's file name is not a plain file name: " + record.fileName);
    }
    if (!dir->inside) {
        return Status::Error(StatusCode::Refused, "the entry's file lies outside the cache: " +
                                                      JoinPath(dir->path, record.fileName));
    }
    std::string named;
    struct stat info {};
    if (LookUp(*dir, record.fileName, named, info) && !S_ISREG(info.st_mode) &&
        !S_ISLNK(info.st_mode)) {
        return Status::Error(StatusCode::Refused, "the entry's file is not a file: " + named);
    }
    path = named;
    return Status::Ok();
}

}  // namespace arkivo
