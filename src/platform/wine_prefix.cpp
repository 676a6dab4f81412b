#include "platform/wine_prefix.h"

#include <cctype>
#include <cstdlib>

#include "platform/file_system.h"
#include "platform/path.h"

namespace arkivo {
namespace {

RegistryFile ReadHive(const std::string& dir, std::string_view name) {
    if (dir.empty()) {
        return {};
    }
    const auto text = ReadWholeFile(JoinPath(dir, name));
    return text ? RegistryFile::Parse(*text) : RegistryFile();
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

WinePrefix WinePrefix::FromEnvironment() {
    return WinePrefix(DirFromEnvironment());
}

std::string WinePrefix::DirFromEnvironment() {
    std::string dir = Environment("WINEPREFIX");
    if (dir.empty() && !Environment("HOME").empty()) {
        dir = JoinPath(Environment("HOME"), ".wine");
    }
    return dir;
}

WinePrefix::WinePrefix(std::string dir)
    : dir_(std::move(dir)),
      currentUser_(ReadHive(dir_, "user.reg")),
      localMachine_(ReadHive(dir_, "system.reg")) {}

std::optional<std::string> WinePrefix::CurrentUserValue(std::string_view keyPath,
                                                        std::string_view name) const {
    return currentUser_.StringValue(keyPath, name);
}

std::optional<std::string> WinePrefix::LocalMachineValue(std::string_view keyPath,
                                                         std::string_view name) const {
    return localMachine_.StringValue(keyPath, name);
}

std::string WinePrefix::LocalPath(std::string_view windowsPath) const {
    if (dir_.empty() || windowsPath.size() < 2 || windowsPath[1] != ':' ||
        !std::isalpha(static_cast<unsigned char>(windowsPath[0]))) {
        return {};
    }
    const std::string drive = {static_cast<char>(std::tolower(windowsPath[0])), ':'};
    std::string path = FindFileNoCase(JoinPath(dir_, "dosdevices"), drive);
    if (path.empty()) {
        return {};
    }
    std::string_view rest = windowsPath.substr(2);
    while (!rest.empty()) {
        const std::size_t cut = rest.find_first_of("\\/");
        const std::string_view part = rest.substr(0, cut);
        if (!part.empty()) {
            const std::string found = FindFileNoCase(path, part);
            path = found.empty() ? JoinPath(path, part) : found;
        }
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    return path;
}

}  // namespace arkivo
