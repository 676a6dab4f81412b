#include "shell/directory_selection.h"

#include <filesystem>

#include "platform/path.h"

namespace arkivo {

std::string SelectionValue(std::string path) {
    return IncludeTrailingSeparator(std::move(path));
}

std::string NormalizeForSelection(std::string path) {
    if (path.size() > 1 && HasTrailingSeparator(path)) {
        path.pop_back();
    }
    return path;
}

bool IsExistingDirectory(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code ignored;
    return std::filesystem::is_directory(NormalizeForSelection(path), ignored);
}

}  // namespace arkivo
