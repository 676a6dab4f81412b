#include "readers/ie_cache_location.h"

#include <dirent.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "model/file_utils.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/wine_prefix.h"

namespace arkivo {
namespace {

constexpr std::string_view IndexFileName = "index.dat";

using RelativePath = std::vector<std::string_view>;

// Content.IE5 folders inside a Windows user profile, newest Windows layout first.
const std::array<RelativePath, 3> ProfileCacheFolders = {
    RelativePath{"AppData", "Local", "Microsoft", "Windows", "INetCache", "Content.IE5"},
    RelativePath{"AppData", "Local", "Microsoft", "Windows", "Temporary Internet Files",
                 "Content.IE5"},
    RelativePath{"Local Settings", "Temporary Internet Files", "Content.IE5"},
};

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// Follows the names from path, matching each without regard to letter case; empty
// when some part is missing.
std::string FindPathNoCase(std::string path, const RelativePath& names) {
    for (const std::string_view name : names) {
        if (path.empty()) {
            break;
        }
        path = FindFileNoCase(path, name);
    }
    return path;
}

// The user profile directories of the prefix, the current user's first.
std::vector<std::string> ProfileDirectories(const std::string& prefix) {
    const std::string users = FindPathNoCase(prefix, {"drive_c", "users"});
    std::vector<std::string> names;
    if (DIR* dir = users.empty() ? nullptr : ::opendir(users.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (IsSafePathComponent(entry->d_name)) {
                names.emplace_back(entry->d_name);
            }
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    const std::string user = Environment("USER");
    const auto current = std::find(names.begin(), names.end(), user);
    if (current != names.end()) {
        std::rotate(names.begin(), current, current + 1);
    }
    std::vector<std::string> profiles;
    for (const std::string& name : names) {
        profiles.push_back(JoinPath(users, name));
    }
    return profiles;
}

}  // namespace

std::string DefaultIeCache(const std::string& chosen) {
    const std::string named = Environment("ARKIVO_IE_CACHE");
    if (!named.empty()) {
        return named;
    }
    if (!chosen.empty()) {
        return chosen;
    }
    const std::string prefix = WinePrefix::DirFromEnvironment();
    if (prefix.empty()) {
        return {};
    }
    for (const std::string& profile : ProfileDirectories(prefix)) {
        for (const RelativePath& folder : ProfileCacheFolders) {
            const std::string cache = FindPathNoCase(profile, folder);
            if (!cache.empty() && FileExists(FindFileNoCase(cache, IndexFileName))) {
                return cache;
            }
        }
    }
    return {};
}

Status ResolveIeCache(const std::string& cache, IeCachePaths& paths) {
    const std::string path = cache.empty() ? DefaultIeCache() : cache;
    if (path.empty()) {
        const std::string prefix = WinePrefix::DirFromEnvironment();
        return Status::Error(
            StatusCode::NotFound,
            "No Internet Explorer cache found: no cache folder is chosen, and " +
                (prefix.empty() ? std::string("there is no Wine prefix.")
                                : "the Wine prefix " + prefix + " holds no Content.IE5 folder."));
    }
    if (IsDirectory(path)) {
        paths.CacheDirectory = IncludeTrailingSeparator(path);
        paths.IndexPath = FindFileNoCase(path, IndexFileName);
    } else {
        paths.IndexPath = path;
        paths.CacheDirectory = DirectoryPart(path);
        if (paths.CacheDirectory.empty()) {
            paths.CacheDirectory = std::string(".") + PathSeparator;
        }
    }
    if (!FileExists(paths.IndexPath)) {
        return Status::Error(StatusCode::NotFound, "No cache index found at " + path);
    }
    return Status::Ok();
}

}  // namespace arkivo
