#include "shell/path_fitting.h"

#include "platform/path.h"

namespace arkivo {
namespace {

constexpr std::string_view Ellipsis = "...";

std::string ElidedDirectory() {
    return std::string(Ellipsis) + PathSeparator;
}

}  // namespace

std::string ElideFirstDirectory(std::string directory) {
    if (directory.size() == 1 && directory[0] == PathSeparator) {
        return {};
    }
    const bool rooted = !directory.empty() && directory[0] == PathSeparator;
    if (rooted) {
        directory.erase(0, 1);
    }
    // Only the "..." of an earlier step is dropped here: names of hidden directories
    // begin with a full stop too.
    if (directory.starts_with(ElidedDirectory())) {
        directory.erase(0, ElidedDirectory().size());
    }
    const auto separator = directory.find(PathSeparator);
    directory = separator == std::string::npos
                    ? std::string()
                    : ElidedDirectory() + directory.substr(separator + 1);
    return rooted ? PathSeparator + directory : directory;
}

std::string FitPathToWidth(std::string_view path, int width, const TextWidthMeasure& measure) {
    std::string directory = DirectoryPart(path);
    const std::string fileName = FileNamePart(path);
    const std::string rootedEllipsis = PathSeparator + ElidedDirectory();
    std::string text(path);
    while (!directory.empty()) {
        if (measure(text) <= width) {
            break;
        }
        directory = directory == rootedEllipsis ? ElidedDirectory()
                                                : ElideFirstDirectory(std::move(directory));
        text = directory + fileName;
    }
    return text;
}

std::string FitTextToWidth(std::string_view text, int width, const TextWidthMeasure& measure) {
    std::string result(text);
    std::string_view remaining = text;
    while (!remaining.empty() && measure(result) > width) {
        remaining.remove_suffix(1);
        result = std::string(remaining) + std::string(Ellipsis);
    }
    return result;
}

}  // namespace arkivo
