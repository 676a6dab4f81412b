#pragma once
// The rules of the Properties dialog that do not depend on its controls: the
// preview text of the emphasis tags, where the two editions differ while the user
// edits, and the messages and checks around the cache index path.

#include <string>
#include <string_view>

#include "model/edition.h"

namespace arkivo {

inline constexpr const char* CacheIndexPathInvalidText =
    "The path to the Netscape\r\nis invalid. Please locate\r\nit manually using the "
    "\r\nproperties screen.";

// The explanation beside ArkivoIE's cache folder setting.
inline constexpr const char* IeCacheSettingText =
    "The Content.IE5 folder of the Internet Explorer cache, or the index.dat in it. "
    "Left empty, Arkivo looks in the user profiles of the Wine prefix ($WINEPREFIX, "
    "else ~/.wine). The environment variable ARKIVO_IE_CACHE, when set, is used "
    "instead of both.";

// "<" + open + ">Link Here<" + close + ">".
std::string EmphasisPreviewText(std::string_view open, std::string_view close);

// ArkivoIE: the archive directory follows every edit of a directory box and every
// switch between the two boxes at once; ArkivoNav: only storing and Browse change it.
bool DirectoryEditsSetArchiveDir(Edition edition);

// ArkivoNav: typing in a directory box enables Apply; ArkivoIE leaves Apply as it is.
bool DirectoryEditsEnableApply(Edition edition);

// ArkivoNav needs an existing cache index file before the Cache Explorer opens;
// ArkivoIE reads its cache without one.
bool CacheIndexPathIsUsable(Edition edition, const std::string& cacheIndexPath);

}  // namespace arkivo
