#include "shell/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/path.h"

namespace arkivo {
namespace {

// A socket path holds at most 107 bytes; the lock file adds ".lock" to the name.
constexpr std::size_t LongestSocketPath = 107;
constexpr std::size_t ShortestFileName = 24;
constexpr std::size_t HashLength = 17;  // "-" and 16 hex digits

std::uint64_t Fnv1a(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    }
    return hash;
}

bool KeptInFileName(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-';
}

}  // namespace

std::string InstanceIdentifier(std::string_view executablePath) {
    return FileNamePart(executablePath) +
           "-- Mutex identifier Quenlow function CheckForSingleInstance()";
}

std::string InstanceFileName(std::string_view identifier, std::string_view directory) {
    std::string name;
    for (const char c : identifier) {
        name += KeptInFileName(c) ? c : '_';
    }
    const std::size_t room = directory.size() < LongestSocketPath - ShortestFileName
                                 ? LongestSocketPath - directory.size()
                                 : ShortestFileName;
    if (name.size() <= room) {
        return name;
    }
    char hash[18];
    std::snprintf(hash, sizeof hash, "-%016llx",
                  static_cast<unsigned long long>(Fnv1a(identifier)));
    return name.substr(0, room - HashLength) + hash;
}

std::string InstanceDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') {
        return IncludeTrailingSeparator(runtime);
    }
    std::error_code ignored;
    return IncludeTrailingSeparator(std::filesystem::temp_directory_path(ignored).string());
}

InstanceLock::~InstanceLock() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

LockOutcome InstanceLock::Acquire(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return LockOutcome::Unavailable;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(descriptor);
        return held ? LockOutcome::HeldElsewhere : LockOutcome::Unavailable;
    }
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
    descriptor_ = descriptor;
    return LockOutcome::Acquired;
}

}  // namespace arkivo
