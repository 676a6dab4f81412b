#pragma once
// A Wine prefix: where the Windows programs whose data Arkivo reads keep their
// registry and their drives. The prefix is $WINEPREFIX, else ~/.wine. Inside it:
//
//   user.reg      HKEY_CURRENT_USER, key paths relative to the hive
//   system.reg    HKEY_LOCAL_MACHINE, the same
//   dosdevices/   one entry per drive, "c:" -> ../drive_c and so on
//
// Windows paths ("C:\Program Files\Netscape\...") become local paths through
// dosdevices/, each part looked up without regard to letter case as Windows would.
// A missing prefix, hive, key or drive only means the value or path is absent.

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry_file.h"

namespace arkivo {

class WinePrefix {
  public:
    // The prefix named by $WINEPREFIX, else ~/.wine; its hives are read now.
    static WinePrefix FromEnvironment();

    // That prefix's directory, without reading anything (empty when neither
    // variable is set).
    static std::string DirFromEnvironment();

    // The prefix in dir (empty: no prefix at all).
    explicit WinePrefix(std::string dir);

    const std::string& Dir() const { return dir_; }

    // A string value below HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE; std::nullopt
    // when the hive, the key or the value is missing.
    std::optional<std::string> CurrentUserValue(std::string_view keyPath,
                                                std::string_view name) const;
    std::optional<std::string> LocalMachineValue(std::string_view keyPath,
                                                 std::string_view name) const;

    // The local path of a Windows path with a drive letter ("C:\dir\file";
    // doubled and trailing backslashes are allowed, and "/" separates as "\" does). Parts that
    // exist are spelled as on disk; the rest are kept as written. Empty when the path has no drive
    // letter or the drive is not in dosdevices/.
    std::string LocalPath(std::string_view windowsPath) const;

  private:
    std::string dir_;
    RegistryFile currentUser_;
    RegistryFile localMachine_;
};

}  // namespace arkivo
