#pragma once
// Archive-list entries and expected page text for the offline index tests.

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "model/cache_item.h"
#include "model/content_types.h"
#include "model/url.h"

namespace arkivo::testing {

// An archived item as the archive list holds it: Domain cleaned from the Url's host
// the way the archive run names domain directories.
inline std::unique_ptr<TCacheItem> ArchivedItem(const std::string& url,
                                                std::string_view contentType,
                                                const std::string& archiveName,
                                                const std::string& title = {}) {
    auto item = std::make_unique<TCacheItem>();
    item->Url = url;
    item->Kind = ContentCodeOf(contentType);
    item->ArchiveName = archiveName;
    item->Title = title;
    std::string rest = url;
    item->Domain = FileNameSafe(SplitHost(rest));
    return item;
}

// The lines joined, each ending in CR LF.
inline std::string PageLines(std::initializer_list<std::string_view> lines) {
    std::string page;
    for (std::string_view line : lines) {
        page += line;
        page += "\r\n";
    }
    return page;
}

}  // namespace arkivo::testing
