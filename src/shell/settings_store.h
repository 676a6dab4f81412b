#pragma once
// The settings store: named sections of named string values, kept below the key
// "Software\Quenlow\Arkivo" of the current user in a REGEDIT4 registry file
// ($XDG_CONFIG_HOME/Quenlow/Arkivo.reg, ~/.config when XDG_CONFIG_HOME is unset).
//
// Every value is stored as text: integers as decimal text, Booleans as "1" or "0".
// Reading never creates anything and falls back to the caller's default for a
// missing file, section or value; the parsed file is kept and read again only when
// it changed. Each write reads the file again, changes the one value and replaces
// the file through a temporary file and a rename, so both programs can share the
// store and a crash never leaves a torn file. A settings file that is a link keeps
// being one: the save replaces the file it leads to.

#include <memory>
#include <string>
#include <string_view>

#include "platform/registry_file.h"
#include "platform/status.h"

namespace arkivo {

inline constexpr std::string_view SettingsKeyPath = "HKEY_CURRENT_USER\\Software\\Quenlow\\Arkivo";

// The per-user settings file path.
std::string DefaultSettingsPath();

// Reads an integer as the store does: text longer than two characters that begins
// with "0x" or "0X" is hexadecimal, anything else signed decimal; text that is no
// 32-bit number gives fallback.
int ParseStoredInteger(std::string_view text, int fallback);

class SettingsStore {
  public:
    explicit SettingsStore(std::string filePath = DefaultSettingsPath());

    const std::string& FilePath() const { return filePath_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    Status WriteString(std::string_view section, std::string_view key, std::string_view value);
    Status WriteInteger(std::string_view section, std::string_view key, int value);
    Status WriteBool(std::string_view section, std::string_view key, bool value);

  private:
    std::shared_ptr<const RegistryFile> Load() const;

    std::string filePath_;
};

}  // namespace arkivo
