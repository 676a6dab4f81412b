#pragma once
// The archived copy of an HTML page: the cached page with its links turned into
// links between archived copies.
//
// The page is scanned once, as bytes, without a document tree. Text between tags
// and comments is copied byte for byte; each tag (at most MaxTagLength bytes of it;
// the rest of a longer tag is copied unchanged) goes through RewriteTag. Links to archived
// pages may be emphasised ("<B>" ... "</B>" before the "</A>") and links to pages
// that were not archived struck out ("<STRIKE>" ... "</STRIKE>"), as the link
// options say.

#include <string>
#include <string_view>

#include "archive/archive_link_map.h"
#include "model/cache_item.h"
#include "platform/status.h"
#include "rewriter/link_options.h"

namespace arkivo {

// How much a page may grow: links to archived copies and web addresses are longer
// than the links as written, but a hostile page of many tiny links must not grow
// without end. Once the copy has grown by this much plus the page's own size, the
// rest of the page is copied as it stands.
inline constexpr std::size_t MaxPageGrowth = 16 * 1024 * 1024;

// The largest page that is rewritten. A page is rewritten in memory, the page and
// its copy side by side, so a larger one is copied as it stands (its links then
// still lead to the web): a run's memory stays bounded whatever one page's size.
inline constexpr std::size_t MaxRewrittenPageSize = 32 * 1024 * 1024;

// A page copied as it stands has its title looked for in this many first bytes.
inline constexpr std::size_t LargePageTitleSpan = 64 * 1024;

// The rewritten bytes of page, whose own address is url (an item Url).
std::string RewritePageText(std::string_view page, std::string_view url, const LinkOptions& options,
                            const ArchiveLinkMap& map);

// Writes the rewritten copy of item's cached page to its archive path under
// archiveDir and sets item.Title to the page's title. Ok only when the whole copy
// was written. Errors: NotFound when the cached file is missing, Refused when the
// item has no safe archive path, Unreadable, WriteFailed (a partial copy is
// removed); in the first three cases nothing is written and Title is unchanged.
// The item's folder must exist. A cached page larger than maxPageSize is copied
// unchanged instead, by the kernel's copy, its title taken from its first
// LargePageTitleSpan bytes, and *copiedUnchanged (when given) set to true.
Status RewritePage(TCacheItem& item, const std::string& archiveDir, const LinkOptions& options,
                   const ArchiveLinkMap& map, std::size_t maxPageSize = MaxRewrittenPageSize,
                   bool* copiedUnchanged = nullptr);

}  // namespace arkivo
