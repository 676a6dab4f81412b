#include "platform/user_dirs.h"

#include <cstdlib>

#include "platform/path.h"

namespace arkivo {
namespace {

std::string BaseDir(const char* variable, const char* underHome) {
    if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
        return value;
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return JoinPath(home, underHome);
    }
    return underHome;
}

}  // namespace

std::string UserConfigHome() {
    return BaseDir("XDG_CONFIG_HOME", ".config");
}

std::string UserDataHome() {
    return BaseDir("XDG_DATA_HOME", ".local/share");
}

std::string UserArkivoDir() {
    return JoinPath(UserDataHome(), "Arkivo") + PathSeparator;
}

}  // namespace arkivo
