#pragma once
// The pages of one domain in the offline index, as text. Each domain directory
// holds six: a list page per kind of file ("text_index.htm", "image_index.htm",
// "audio_index.htm", "video_index.htm", "other_index.htm") and
// "thumbnail_index.htm". Every page but an empty one starts with the navigation
// bar, a row of five kind buttons: down for the page shown, grey for a kind
// without files, else a link to that kind's list. A kind without files has no
// list: its page forwards the browser to the next kind's page (the other page is
// left empty), so the domain link, which always leads to the text page, lands on
// the first kind the domain has. Links are relative to the domain directory.
// Every line ends in CR LF.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/cache_item.h"
#include "model/content_types.h"
#include "offline_index/thumbnails.h"

namespace arkivo {

inline constexpr std::size_t KindCount = 5;
inline constexpr std::string_view ThumbnailPageName = "thumbnail_index.htm";

// A domain's archived items by kind (FileClass order), each in archive-list order.
using DomainItems = std::array<std::vector<const TCacheItem*>, KindCount>;

// The list page of a kind: "text_index.htm", ...
std::string_view KindPageName(FileClass kind);

// Appends the navigation bar for domain to page; current is the kind whose page it
// heads (none on the thumbnail page).
void WriteNavigationBar(std::string& page, std::optional<FileClass> current,
                        std::string_view domain, const DomainItems& items);

// The page of one kind: its list, or the forwarding (or empty) page of a kind
// without files.
std::string KindPage(FileClass kind, std::string_view domain, const DomainItems& items);

// The thumbnail page: one thumbnail per image whose size thumbnailOf gives; empty
// when the domain has no images.
using ThumbnailLookup = std::function<std::optional<Thumbnail>(const TCacheItem&)>;
std::string ThumbnailPage(std::string_view domain, const DomainItems& items,
                          const ThumbnailLookup& thumbnailOf);

}  // namespace arkivo
