#pragma once
// The user's own directories, as the XDG base directory rules name them.

#include <string>

namespace arkivo {

// $XDG_CONFIG_HOME, or ~/.config when it is unset or empty (".config" without HOME).
std::string UserConfigHome();

// $XDG_DATA_HOME, or ~/.local/share when it is unset or empty (".local/share"
// without HOME).
std::string UserDataHome();

// Where Arkivo keeps the files a user owns when the program is installed
// (MIMETYPE.DAT, the default archive directory): UserDataHome() + "/Arkivo/".
std::string UserArkivoDir();

}  // namespace arkivo
