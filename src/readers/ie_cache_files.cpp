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
    if (record.DirectoryIndex != ie_index::NoDirectory) {
        if (record.DirectoryIndex >= index.Directories.size()) {
            return nullptr;
        }
        name = index.Directories[record.DirectoryIndex].Name;
        if (!IsSafePathComponent(name)) {
            return nullptr;
        }
    }
    const auto known = directories_.find(name);
    if (known != directories_.end()) {
        return &known->second;
    }
    Directory dir;
    dir.Path = name.empty() ? cacheDirectory_ : FindFileNoCase(cacheDirectory_, name);
    if (dir.Path.empty()) {
        dir.Path = JoinPath(cacheDirectory_, name);
    }
    struct stat info {};
    dir.Exists = ::lstat(dir.Path.c_str(), &info) == 0;
    dir.Inside = !dir.Exists || ResolvesInside(dir.Path);
    return &directories_.emplace(name, std::move(dir)).first->second;
}

bool CacheFileResolver::LookUp(Directory& dir, const std::string& name, std::string& path,
                               struct stat& info) {
    path = JoinPath(dir.Path, name);
    if (!dir.Exists) {
        return false;
    }
    if (::lstat(path.c_str(), &info) == 0) {
        return true;
    }
    if (!dir.Listing) {
        dir.Listing.emplace(dir.Path);
    }
    const NoCaseListing::Entry* found = dir.Listing->Find(name);
    if (found == nullptr || found->Name == name) {
        return false;
    }
    path = JoinPath(dir.Path, found->Name);
    return ::lstat(path.c_str(), &info) == 0;
}

bool CacheFileResolver::ResolvesInside(const std::string& path) const {
    const std::string real = RealPath(path);
    return !real.empty() && !realCacheDirectory_.empty() &&
           IncludeTrailingSeparator(real).starts_with(realCacheDirectory_);
}

FoundFile CacheFileResolver::FileToRead(const IeIndex& index, const IeUrlRecord& record) {
    if (!IsSafePathComponent(record.FileName)) {
        return {};
    }
    Directory* dir = DirectoryOf(index, record);
    if (dir == nullptr || !dir->Inside) {
        return {};
    }
    FoundFile file;
    struct stat info {};
    if (!LookUp(*dir, record.FileName, file.Path, info)) {
        return file;
    }
    // A plain file in a directory inside the cache is inside; a link must resolve there.
    if (S_ISLNK(info.st_mode) && !ResolvesInside(file.Path)) {
        return {};
    }
    file.IsFile = IsFileAfterLstat(file.Path, info);
    return file;
}

Status CacheFileResolver::EntryToRemove(const IeIndex& index, const IeUrlRecord& record,
                                        std::string& path) {
    path.clear();
    if (record.FileName.empty()) {
        return Status::Ok();
    }
    Directory* dir = IsSafePathComponent(record.FileName) ? DirectoryOf(index, record) : nullptr;
    if (dir == nullptr) {
        return Status::Error(StatusCode::Refused,
                             "the entry's file name is not a plain file name: " + record.FileName);
    }
    if (!dir->Inside) {
        return Status::Error(StatusCode::Refused, "the entry's file lies outside the cache: " +
                                                      JoinPath(dir->Path, record.FileName));
    }
    std::string named;
    struct stat info {};
    if (LookUp(*dir, record.FileName, named, info) && !S_ISREG(info.st_mode) &&
        !S_ISLNK(info.st_mode)) {
        return Status::Error(StatusCode::Refused, "the entry's file is not a file: " + named);
    }
    path = named;
    return Status::Ok();
}

}  // namespace arkivo
