#pragma once
// Finding Navigator's cache index (FAT.DB or FAT) through the places Navigator
// records its cache directory, read from the Wine prefix it runs in:
//
//   HKEY_CURRENT_USER  Software\Netscape\Netscape Navigator\Cache, "Cache Dir":
//       the Navigator 3 cache directory
//   HKEY_LOCAL_MACHINE Software\Netscape\Netscape Navigator\Users, "CurrentUser":
//       the current Navigator 4 profile, whose directory is "DirRoot" of the key
//       ...\Users\<profile name>; in a 64-bit prefix both keys lie under
//       Software\Wow6432Node\Netscape\... instead
//   <profile>\prefs.js, lines such as
//       user_pref("browser.cache.directory", "C:/Netscape/Users/me/cache");
//       (the key compared without regard to case, the value taken as written)
//   else <profile>\Cache
//
// Values are Windows paths; "/" in them counts as "\". Index files are looked up
// without regard to case. Nothing is ever written.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/wine_prefix.h"

namespace arkivo {

// The current Navigator 4 profile and its preferences.
class TNavigator4 {
  public:
    explicit TNavigator4(WinePrefix prefix) : prefix_(std::move(prefix)) {}

    // The profile directory as Navigator wrote it (a Windows path ending in "\"),
    // trailing spaces and semicolons removed; empty when there is none.
    std::string ProfileDir() const;

    // The value of a user_pref line of the profile's prefs.js; std::nullopt when
    // the file or the preference is missing or the value is empty.
    std::optional<std::string> ReadPref(std::string_view name);

  protected:
    WinePrefix prefix_;

  private:
    bool LoadPrefs();

    bool triedLoading_ = false;
    std::optional<std::string> prefs_;
};

// Adds the search for the Navigator 4 cache directory.
class TNavigator4Paths : public TNavigator4 {
  public:
    using TNavigator4::TNavigator4;

    // The local directory holding the Navigator 4 cache index; empty when none.
    std::string CacheDir();
};

// The path of "Fat.db" in a local directory, else of "Fat" (letter case ignored);
// empty when neither is a file or dir is empty.
std::string IndexFileIn(const std::string& dir);

// True when the local directory holds "Fat" or "Fat.db" (letter case ignored).
bool HasIndexFile(const std::string& dir);

// The full path of the cache index: the Navigator 4 one or the Navigator 3 one,
// whichever was modified last (Navigator 4 on equal times), or the one found;
// empty when none was found.
std::string FindCacheIndex(const WinePrefix& prefix);
std::string FindCacheIndex();

}  // namespace arkivo
