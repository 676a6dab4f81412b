#pragma once
// Where an archived item lives. Every archived copy is at
//     archive directory + Domain + "/" + folder + "/" + ArchiveName
// where the folder is the major content type ("text", "image", ...). The link
// rewriter, the index pages and the search rebuild the path the same way, through
// these functions.
//
// Domains, content types and archive names come from untrusted files (cache
// indexes, web servers, other people's archive.dat), so none of them is used as a
// path component unless it is a safe one: a folder that is not falls back to
// "other"; an item whose domain or name is not has no archive path at all.

#include <optional>
#include <string>

#include "model/cache_item.h"

namespace arkivo {

inline constexpr const char* NotFoundPageLink = "../../notfound.htm";
inline constexpr const char* NotFoundPictureLink = "../../images/notfound.gif";

// The archive folder of a content code: its major type, or "other" when that is
// not usable as a directory name (empty, ".", "..", a separator or NUL inside).
std::string ArchiveFolderOf(int kind);

// True when the item's Domain and ArchiveName can be used as path components.
bool HasSafeArchivePath(const TCacheItem& item);

// archiveDir + Domain + "/" + folder + "/"; std::nullopt when Domain is unsafe.
std::optional<std::string> ArchiveFolderPath(const std::string& archiveDir, const TCacheItem& item);

// The archived copy's full path; std::nullopt when Domain or ArchiveName is unsafe.
std::optional<std::string> ArchivePathOf(const std::string& archiveDir, const TCacheItem& item);

// The link from one archived page to another (both lie two levels below the
// archive directory): "../../" + Domain + "/" + folder + "/" + ArchiveName, written
// with LinkText, so "my%20page[1].htm" is linked as "my%2520page%5B1%5D.htm".
std::string ArchiveLinkOf(const TCacheItem& item);

}  // namespace arkivo
