#include "readers/netscape_cached_file.h"

#include <dirent.h>
#include <sys/stat.h>

#include "model/url.h"
#include "platform/path.h"

namespace arkivo {
namespace {

// A relative name whose parts are all safe path components.
bool IsSafeRelativeName(std::string_view name) {
    std::size_t start = 0;
    while (true) {
        const std::size_t cut = name.find(PathSeparator, start);
        if (!IsSafePathComponent(name.substr(start, cut - start))) {
            return false;
        }
        if (cut == std::string_view::npos) {
            return true;
        }
        start = cut + 1;
    }
}

}  // namespace

std::string CachedFileResolver::PathOf(std::string_view name) {
    if (!IsSafeRelativeName(name)) {
        return {};
    }
    std::string path = indexDir_;
    std::size_t start = 0;
    while (true) {
        const std::size_t cut = name.find(PathSeparator, start);
        const std::string part(name.substr(start, cut - start));
        const std::string found = FindNoCase(path, part);
        if (found.empty()) {
            return indexDir_ + std::string(name);
        }
        path = JoinPath(path, found);
        if (cut == std::string_view::npos) {
            return path;
        }
        start = cut + 1;
    }
}

std::string CachedFileResolver::FindNoCase(const std::string& dir, const std::string& part) {
    auto listing = listings_.find(dir);
    if (listing == listings_.end()) {
        struct stat info {};
        if (::lstat(JoinPath(dir, part).c_str(), &info) == 0) {
            return part;
        }
        listing = listings_.emplace(dir, Listing()).first;
        if (DIR* handle = ::opendir(dir.empty() ? "." : dir.c_str())) {
            while (const dirent* entry = ::readdir(handle)) {
                listing->second.exact.emplace(entry->d_name);
                listing->second.folded.emplace(LowerCase(entry->d_name), entry->d_name);
            }
            ::closedir(handle);
        }
    }
    if (listing->second.exact.count(part) > 0) {
        return part;
    }
    const auto match = listing->second.folded.find(LowerCase(part));
    return match == listing->second.folded.end() ? std::string() : match->second;
}

}  // namespace arkivo
