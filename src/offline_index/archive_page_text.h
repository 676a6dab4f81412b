#pragma once
// The archive-wide pages of the offline index, as text:
//   "1st_page.htm"  the frameset the user opens: "indlist.htm" left in the frame
//                   named DOMAINS, "indpage.htm" right in the frame named FILES;
//   "indlist.htm"   the dated list of archived domains, each linking to its
//                   "text_index.htm";
//   "indpage.htm"   the welcome page with the banner and a legend of the icons;
//   "notfound.htm"  where links to pages that were never archived lead.
// Every line ends in CR LF.

#include <string>
#include <string_view>
#include <vector>

#include "model/cache_item.h"

namespace arkivo {

inline constexpr std::string_view DomainListPageName = "indlist.htm";
inline constexpr std::string_view WelcomePageName = "indpage.htm";
inline constexpr std::string_view NotFoundPageName = "notfound.htm";

// The Domain of every item with a Url, once each (names that differ only in letter
// case count as one, and the spelling met first stays), ordered without regard to
// case. Names that are not safe directory names (empty, ".", "..", holding a
// separator) are left out: no pages can be written for them.
std::vector<std::string> OfflineDomainList(const TCacheItemList& archiveList);

std::string FramesetPage();
std::string NotFoundPage();
std::string WelcomePage();

// The domain list page; dateText is today's date as the user writes it.
std::string DomainListPage(const std::vector<std::string>& domains, std::string_view dateText);

}  // namespace arkivo
