#pragma once
// The GIF icons the index pages show. They ship in the program's "images"
// directory and are copied into every archive's "images" directory; an icon that
// is already there (perhaps replaced by the user) is left alone.

#include <array>
#include <string>
#include <string_view>

namespace arkivo {

inline constexpr std::array<std::string_view, 28> IconWords = {
    "audio",   "text",    "video",  "other",  "image",    "uaudio", "utext",
    "uvideo",  "uother",  "uimage", "daudio", "dtext",    "dvideo", "dother",
    "dimage",  "gaudio",  "gtext",  "gvideo", "gother",   "gimage", "folder",
    "lfolder", "ofolder", "ftext",  "ltext",  "notfound", "arkivo", "quenlogo"};

// Makes sure archiveDir + "images/" exists and holds every icon.
void EnsureIcons(const std::string& archiveDir);

// Copies one icon from the program's images directory when the archive lacks it.
void CopyIcon(const std::string& archiveDir, std::string_view word);

}  // namespace arkivo
