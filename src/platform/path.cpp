#include "platform/path.h"

namespace arkivo {

bool HasTrailingSeparator(std::string_view path) {
    return !path.empty() && path.back() == PathSeparator;
}

std::string IncludeTrailingSeparator(std::string path) {
    if (!path.empty() && !HasTrailingSeparator(path)) {
        path += PathSeparator;
    }
    return path;
}

std::string ExcludeTrailingSeparator(std::string path) {
    while (path.size() > 1 && HasTrailingSeparator(path)) {
        path.pop_back();
    }
    return path;
}

std::string DirectoryPart(std::string_view path) {
    const auto cut = path.rfind(PathSeparator);
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string FileNamePart(std::string_view path) {
    const auto cut = path.rfind(PathSeparator);
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string JoinPath(std::string_view dir, std::string_view name) {
    std::string joined(dir);
    if (!joined.empty() && !HasTrailingSeparator(joined)) {
        joined += PathSeparator;
    }
    joined += name;
    return joined;
}

bool IsSafePathComponent(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    return name.find(PathSeparator) == std::string_view::npos &&
           name.find('\\') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

}  // namespace arkivo
