#pragma once
// Registry files: the stand-in for the Windows registry.
//
// Two text formats are read:
//   - REGEDIT4 (also "Windows Registry Editor Version 5.00"), which Arkivo writes
//     for its own settings:
//         REGEDIT4
//
//         [HKEY_CURRENT_USER\Software\Quenlow\Arkivo\Export to disk properties]
//         "Default directory"="/home/me/ARCHIVE/"
//     Key paths use single backslashes; in a quoted value \\ stands for a backslash
//     and \" for a quote.
//   - Wine's own registry files (user.reg, system.reg: first line
//     "WINE REGISTRY Version 2"), where key paths are relative to the hive, escape
//     their backslashes ("[Software\\Netscape\\...] 1234567890"), values use C-style
//     escapes (\n, \t, \xHHHH, octal) and lines starting with "#" or ";" carry
//     metadata or comments.
// Values are strings (REG_SZ, and "str(2):" expand strings), "dword:" numbers or
// "hex...:" bytes (possibly continued over lines ending in "\"). Only string values
// are given out as text.
//
// Reading is forgiving: a line that cannot be parsed is skipped and the rest of the
// file still counts. Key paths and value names are compared without regard to case.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace arkivo {

class RegistryFile {
  public:
    enum class ValueType { String, ExpandString, Dword, Binary };

    struct Value {
        std::string Name;  // empty for a key's default value ("@")
        ValueType Type = ValueType::String;
        std::string Data;  // the text of a string; decimal text of a dword; raw bytes otherwise
    };

    struct Key {
        std::string Path;  // backslash-separated, as first written
        std::vector<Value> Values;
    };

    // Parses either format; unknown or damaged lines are skipped.
    static RegistryFile Parse(std::string_view text);

    // The string value (String or ExpandString) of name below keyPath; std::nullopt
    // when the key, the value or a string of that type is absent.
    std::optional<std::string> StringValue(std::string_view keyPath, std::string_view name) const;

    bool HasKey(std::string_view keyPath) const;

    // Sets a string value, creating the key when it is missing.
    void SetString(std::string_view keyPath, std::string_view name, std::string_view data);

    // The whole file in the REGEDIT4 format, CR LF line ends, keys in their order.
    std::string ToRegedit4() const;

    const std::vector<Key>& Keys() const { return keys_; }

  private:
    Key* FindKey(std::string_view keyPath);
    const Key* FindKey(std::string_view keyPath) const;
    Key& AddKey(std::string path);

    std::vector<Key> keys_;
    std::unordered_map<std::string, std::size_t> index_;  // lower-cased path -> position
};

}  // namespace arkivo
