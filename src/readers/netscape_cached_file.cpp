#include "readers/netscape_cached_file.h"

#include <dirent.h>
#include <sys/stat.h>

#include "model/url.h"
#include "platform/path.h"
#include "platform/rooted_files.h"

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

CachedFileResolver::Kind CachedFileResolver::KindOf(const struct stat& info) {
    if (S_ISLNK(info.st_mode)) {
        return Kind::Unknown;
    }
    return S_ISREG(info.st_mode) ? Kind::File : Kind::Other;
}

CachedFileResolver::Kind CachedFileResolver::KindOf(unsigned char direntType) {
    if (direntType == DT_LNK || direntType == DT_UNKNOWN) {
        return Kind::Unknown;
    }
    return direntType == DT_REG ? Kind::File : Kind::Other;
}

FoundFile CachedFileResolver::FileOf(std::string_view name) {
    if (!IsSafeRelativeName(name)) {
        return {};
    }
    std::string path = indexDir_;
    Entry found;
    bool throughLink = false;  // or through an entry whose kind the listing did not say
    std::size_t start = 0;
    while (true) {
        const std::size_t cut = name.find(PathSeparator, start);
        if (!FindNoCase(path, std::string(name.substr(start, cut - start)), found)) {
            return {indexDir_ + std::string(name), false};
        }
        throughLink = throughLink || found.Type == Kind::Unknown;
        path = JoinPath(path, found.Name);
        if (cut == std::string_view::npos) {
            break;
        }
        start = cut + 1;
    }
    // A link is followed only as far as it stays inside the cache directory.
    const bool isFile = throughLink ? IsFileBeneath(indexDir_, path) : found.Type == Kind::File;
    return {std::move(path), isFile};
}

bool CachedFileResolver::FindNoCase(const std::string& dir, const std::string& part, Entry& found) {
    auto listing = listings_.find(dir);
    if (listing == listings_.end() || !listing->second.Readable()) {
        struct stat info {};
        if (::lstat(JoinPath(dir, part).c_str(), &info) == 0) {
            found = {part, KindOf(info)};
            return true;
        }
        if (listing != listings_.end()) {
            return false;
        }
        listing = listings_.emplace(dir, NoCaseListing(dir)).first;
    }
    const NoCaseListing::Entry* entry = listing->second.Find(part);
    if (entry == nullptr) {
        return false;
    }
    found = {entry->Name, KindOf(entry->Type)};
    return true;
}

}  // namespace arkivo
