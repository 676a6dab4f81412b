#include "readers/netscape_location.h"

#include <algorithm>

#include "model/url.h"
#include "platform/file_system.h"
#include "platform/path.h"

namespace arkivo {
namespace {

// Navigator 4's machine keys; a 64-bit Wine prefix keeps a 32-bit program's under
// Wow6432Node.
constexpr std::string_view UsersKeys[] = {
    "Software\\Netscape\\Netscape Navigator\\Users",
    "Software\\Wow6432Node\\Netscape\\Netscape Navigator\\Users",
};
constexpr std::string_view Navigator3CacheKey = "Software\\Netscape\\Netscape Navigator\\Cache";

// The file of that name in dir, found without regard to case; empty when missing.
std::string FileIn(const std::string& dir, std::string_view name) {
    if (dir.empty()) {
        return {};
    }
    const std::string path = FindFileNoCase(dir, name);
    return FileExists(path) ? path : std::string();
}

std::string SlashesTurned(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The value of name in one line of prefs.js: the text after the comma that follows
// the key, without the blanks, quotes and commas before it and the quotes and
// closing parentheses at its end; empty when the line does not hold the key.
std::string PrefValueInLine(std::string_view line, std::string_view lowerKey) {
    const std::size_t keyAt = LowerCase(line).find(lowerKey);
    if (keyAt == std::string::npos) {
        return {};
    }
    std::size_t from = keyAt + lowerKey.size();
    while (from < line.size() && line[from] != ',') {
        ++from;
    }
    while (from < line.size() && (line[from] == ' ' || line[from] == '"' || line[from] == ',')) {
        ++from;
    }
    if (from + 1 >= line.size()) {
        return {};
    }
    std::size_t end = line.rfind(')');  // the value ends before end
    if (end == std::string_view::npos) {
        return {};
    }
    while (end > 0 && (line[end - 1] == '"' || line[end - 1] == ')')) {
        --end;
    }
    return end > from ? std::string(line.substr(from, end - from)) : std::string();
}

}  // namespace

std::string TNavigator4::ProfileDir() const {
    std::string dir;
    for (const std::string_view usersKey : UsersKeys) {
        if (const auto user = prefix_.LocalMachineValue(usersKey, "CurrentUser")) {
            dir = prefix_.LocalMachineValue(std::string(usersKey) + "\\" + *user, "DirRoot")
                      .value_or("");
            break;
        }
    }
    while (!dir.empty() && (dir.back() == ' ' || dir.back() == ';')) {
        dir.pop_back();
    }
    if (!dir.empty() && dir.back() != '\\') {
        dir += '\\';
    }
    return dir;
}

bool TNavigator4::LoadPrefs() {
    if (!triedLoading_) {
        triedLoading_ = true;
        const std::string profile = ProfileDir();
        if (!profile.empty()) {
            prefs_ = ReadWholeFile(prefix_.LocalPath(profile + "prefs.js"));
        }
    }
    return prefs_.has_value();
}

std::optional<std::string> TNavigator4::ReadPref(std::string_view name) {
    if (!LoadPrefs()) {
        return std::nullopt;
    }
    const std::string key = "user_pref(\"" + LowerCase(name) + "\"";
    std::string_view rest = *prefs_;
    while (!rest.empty()) {
        const std::size_t cut = rest.find_first_of("\r\n");
        const std::string value = PrefValueInLine(rest.substr(0, cut), key);
        if (!value.empty()) {
            return value;
        }
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    return std::nullopt;
}

std::string TNavigator4Paths::CacheDir() {
    if (const auto pref = ReadPref("browser.cache.directory")) {
        const std::string dir = prefix_.LocalPath(SlashesTurned(*pref));
        if (HasIndexFile(dir)) {
            return dir;
        }
    }
    const std::string profile = ProfileDir();
    if (!profile.empty()) {
        const std::string dir = prefix_.LocalPath(SlashesTurned(profile + "Cache"));
        if (HasIndexFile(dir)) {
            return dir;
        }
    }
    return {};
}

std::string IndexFileIn(const std::string& dir) {
    const std::string db = FileIn(dir, "Fat.db");
    return db.empty() ? FileIn(dir, "Fat") : db;
}

bool HasIndexFile(const std::string& dir) {
    return !IndexFileIn(dir).empty();
}

std::string FindCacheIndex(const WinePrefix& prefix) {
    TNavigator4Paths navigator4(prefix);
    const std::string nav3 =
        prefix.LocalPath(prefix.CurrentUserValue(Navigator3CacheKey, "Cache Dir").value_or(""));
    const std::string c3 = IndexFileIn(nav3);
    const std::string c4 = IndexFileIn(navigator4.CacheDir());
    if (!c3.empty() && !c4.empty()) {
        return FileModificationTime(c3) > FileModificationTime(c4) ? c3 : c4;
    }
    return c4.empty() ? c3 : c4;
}

std::string FindCacheIndex() {
    return FindCacheIndex(WinePrefix::FromEnvironment());
}

}  // namespace arkivo
