#pragma once
// The GIF icons the index pages show. They ship in the program's "images"
// directory and are copied into every archive's "images" directory; an icon that
// is already there (perhaps replaced by the user) is left alone.
//
// The icons are named in lower case, but the pages spell some of them with capitals
// ("dImage.gif", "Arkivo.gif"). So that those references resolve on a
// case-sensitive file system too, the archive also gets a copy of the icon under
// each such spelling.

#include <array>
#include <string>
#include <string_view>

namespace arkivo {

inline constexpr std::array<std::string_view, 28> IconWords = {
    "audio",   "text",    "video",  "other",  "image",    "uaudio", "utext",
    "uvideo",  "uother",  "uimage", "daudio", "dtext",    "dvideo", "dother",
    "dimage",  "gaudio",  "gtext",  "gvideo", "gother",   "gimage", "folder",
    "lfolder", "ofolder", "ftext",  "ltext",  "notfound", "arkivo", "quenlogo"};

// The spellings with capitals that the index pages use.
inline constexpr std::array<std::string_view, 14> IconPageSpellings = {
    "uImage", "uAudio", "uVideo", "uOther", "dImage", "dAudio", "dVideo",
    "dOther", "gImage", "gAudio", "gVideo", "gOther", "Arkivo", "QuenLogo"};

// Makes sure archiveDir + "images/" exists and holds every icon, under its own
// name and under each spelling the pages use.
void EnsureIcons(const std::string& archiveDir);

// Copies one icon from the program's images directory when the archive lacks it.
void CopyIcon(const std::string& archiveDir, std::string_view word);

}  // namespace arkivo
