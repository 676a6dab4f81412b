#include "search/search_input.h"

#include "archive/archive_info.h"
#include "model/file_utils.h"
#include "model/url.h"
#include "platform/file_system.h"
#include "platform/path.h"

namespace arkivo {
namespace {

constexpr std::size_t SearchTextLimit = 255;

}  // namespace

SearchInputCheck CheckSearchInput(std::string_view urlText, std::string_view pageText,
                                  const std::string& directoryText) {
    if (urlText.empty() && pageText.empty()) {
        return SearchInputCheck::NoSearchText;
    }
    if (!IsDirectory(directoryText)) {
        return SearchInputCheck::NoDirectory;
    }
    if (!FileExists(SearchDirectoryOf(directoryText) + std::string(ArchiveInfoFileName))) {
        return SearchInputCheck::NoArchiveInfo;
    }
    return SearchInputCheck::Ok;
}

std::string SearchInputMessage(SearchInputCheck check, std::string_view directoryText) {
    switch (check) {
        case SearchInputCheck::Ok:
            break;
        case SearchInputCheck::NoSearchText:
            return "Enter some search text.";
        case SearchInputCheck::NoDirectory:
            return "Couldn't find directory\r\n\r\n" + std::string(directoryText);
        case SearchInputCheck::NoArchiveInfo:
            return "Couldn't find an archive info file\r\n(archive.dat) in this directory.";
    }
    return "";
}

std::string SearchDirectoryOf(std::string_view directoryText) {
    return IncludeTrailingSeparator(CutTo(directoryText, SearchTextLimit));
}

std::string SearchTextOf(std::string_view text) {
    return LowerCase(CutTo(text, SearchTextLimit));
}

}  // namespace arkivo
