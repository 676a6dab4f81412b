#pragma once
// File names inside the archive: the first-choice name of an item and the names
// tried after a collision. A name is unique inside its folder (letter case
// ignored) and stable across runs: an item archived before keeps its name.

#include <string>
#include <string_view>

#include "archive/used_names.h"
#include "model/cache_item.h"
#include "model/content_types.h"
#include "model/edition.h"

namespace arkivo {

// ArkivoNav's first choice: the URL's last segment with the characters a file name
// can hold, its extension replaced by the code's own for HTML, GIF, JPEG and plain
// text, and the code's extension added when it has none. "index.html" as text/html
// gives "index.htm"; "tool-1.zip" gives "tool1.zip"; "show?id=7" gives "showid7.htm".
std::string NameFromUrl(std::string_view url, int code, const TExtensionTable& extensions);

// The name to try after name was taken: "page.htm" -> "page(1).htm" -> "page(2).htm",
// "a(7)" -> "a(8)", "abc()" -> "abc()(1)". At most 255 bytes; when that bound is
// reached the stem is shortened so the counter is never cut off.
std::string NextCandidateName(std::string_view name);

// Gives item an ArchiveName that neither an earlier item of the run nor a file in
// its folder has taken, records it in usedNames and creates the folder. Returns false
// (and names nothing) when the item has no safe archive folder.
bool AssignArchiveName(TCacheItem& item, const std::string& archiveDir, Edition edition,
                       const TExtensionTable& extensions, UsedNames& usedNames);

}  // namespace arkivo
