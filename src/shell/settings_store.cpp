#include "shell/settings_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "model/file_utils.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/whole_number.h"

namespace arkivo {
namespace {

std::string SectionPath(std::string_view section) {
    return std::string(SettingsKeyPath) + "\\" + std::string(section);
}

// Holds an exclusive lock on a file beside the settings file while one value is
// read, changed and written back, so two programs writing at once lose nothing.
class SettingsLock {
  public:
    explicit SettingsLock(const std::string& settingsPath)
        : fd_(::open((settingsPath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ >= 0) {
            ::flock(fd_, LOCK_EX);
        }
    }
    ~SettingsLock() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

  private:
    int fd_;
};

}  // namespace

std::string DefaultSettingsPath() {
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
        base = config;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        base = JoinPath(home, ".config");
    } else {
        base = ".config";
    }
    return JoinPath(JoinPath(base, "Quenlow"), "Arkivo.reg");
}

int ParseStoredInteger(std::string_view text, int fallback) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string_view digits = text.substr(2);
        if (digits.size() > 8) {
            return fallback;
        }
        std::uint32_t value = 0;
        for (char c : digits) {
            int digit = -1;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            }
            if (digit < 0) {
                return fallback;
            }
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
        return static_cast<std::int32_t>(value);
    }
    return ParseWholeNumber(text).value_or(fallback);
}

SettingsStore::SettingsStore(std::string filePath) : filePath_(std::move(filePath)) {}

RegistryFile SettingsStore::Load() const {
    const auto text = ReadWholeFile(filePath_);
    return text ? RegistryFile::Parse(*text) : RegistryFile();
}

std::string SettingsStore::ReadString(std::string_view section, std::string_view key,
                                      std::string_view fallback) const {
    return Load().StringValue(SectionPath(section), key).value_or(std::string(fallback));
}

int SettingsStore::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    const auto text = Load().StringValue(SectionPath(section), key);
    return text ? ParseStoredInteger(*text, fallback) : fallback;
}

bool SettingsStore::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

Status SettingsStore::WriteString(std::string_view section, std::string_view key,
                                  std::string_view value) {
    const std::string dir = DirectoryPart(filePath_);
    if (!dir.empty()) {
        MakeDirectoryPath(dir);
    }
    SettingsLock lock(filePath_);
    const auto text = ReadWholeFile(filePath_);
    if (!text && ::access(filePath_.c_str(), F_OK) == 0) {
        // Rewriting a file that exists but cannot be read would drop every other value.
        return Status::Error(StatusCode::Unreadable, "cannot read the settings file " + filePath_);
    }
    RegistryFile file = text ? RegistryFile::Parse(*text) : RegistryFile();
    file.SetString(SectionPath(section), key, value);
    return WriteFileAtomically(filePath_, file.ToRegedit4());
}

Status SettingsStore::WriteInteger(std::string_view section, std::string_view key, int value) {
    return WriteString(section, key, std::to_string(value));
}

Status SettingsStore::WriteBool(std::string_view section, std::string_view key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

}  // namespace arkivo
