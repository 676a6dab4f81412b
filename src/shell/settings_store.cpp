#include "shell/settings_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "model/file_utils.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/user_dirs.h"
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

// The settings file parsed at the last read, kept while the file is unchanged, so
// that the many values one command or window reads cost one read and one parse.
struct ParsedSettings {
    std::string Path;
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    timespec Modified{};
    std::shared_ptr<const RegistryFile> File;
};

std::mutex cacheMutex;
ParsedSettings cache;

bool SameFile(const ParsedSettings& parsed, const std::string& path, const struct stat& info) {
    return parsed.File != nullptr && parsed.Path == path && parsed.Device == info.st_dev &&
           parsed.Inode == info.st_ino && parsed.Size == info.st_size &&
           parsed.Modified.tv_sec == info.st_mtim.tv_sec &&
           parsed.Modified.tv_nsec == info.st_mtim.tv_nsec;
}

// Where a save goes: a settings file kept as a link (as dotfile managers do) has
// its target replaced, so the link stays.
std::string SaveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;  // a dangling link: the save replaces it
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

}  // namespace

std::string DefaultSettingsPath() {
    return JoinPath(JoinPath(UserConfigHome(), "Quenlow"), "Arkivo.reg");
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

std::shared_ptr<const RegistryFile> SettingsStore::Load() const {
    struct stat info {};
    if (::stat(filePath_.c_str(), &info) != 0) {
        return std::make_shared<const RegistryFile>();
    }
    const std::lock_guard<std::mutex> guard(cacheMutex);
    if (SameFile(cache, filePath_, info)) {
        return cache.File;
    }
    const auto text = ReadWholeFile(filePath_);
    if (!text) {
        return std::make_shared<const RegistryFile>();
    }
    cache = ParsedSettings{
        filePath_,    info.st_dev,
        info.st_ino,  info.st_size,
        info.st_mtim, std::make_shared<const RegistryFile>(RegistryFile::Parse(*text))};
    return cache.File;
}

std::string SettingsStore::ReadString(std::string_view section, std::string_view key,
                                      std::string_view fallback) const {
    return Load()->StringValue(SectionPath(section), key).value_or(std::string(fallback));
}

int SettingsStore::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    const auto text = Load()->StringValue(SectionPath(section), key);
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
    return WriteFileAtomically(SaveTarget(filePath_), file.ToRegedit4());
}

Status SettingsStore::WriteInteger(std::string_view section, std::string_view key, int value) {
    return WriteString(section, key, std::to_string(value));
}

Status SettingsStore::WriteBool(std::string_view section, std::string_view key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

}  // namespace arkivo
