#pragma once
// A scratch directory for the targets whose entry point reads a file: made once per
// process under $TMPDIR, else in memory under /dev/shm (where replacing a file never
// waits for the disk), else under /tmp, reused for every input and removed at exit.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace arkivo::fuzz {

inline const std::string& ScratchDir();

inline void RemoveScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(ScratchDir(), ignored);
}

// The directory, ending in "/"; removed when the process exits normally (libFuzzer
// exits so at the end of a timed run), kept after a crash.
inline const std::string& ScratchDir() {
    static const std::string dir = [] {
        const char* base = std::getenv("TMPDIR");
        if (base == nullptr || *base == '\0') {
            base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        }
        std::string pattern = std::string(base) + "/arkivo-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern + "/";
    }();
    // Registered once dir is made, so the handler runs before dir is destroyed.
    static const bool removedAtExit = std::atexit(RemoveScratchDir) == 0;
    (void)removedAtExit;
    return dir;
}

// Replaces the file at path with bytes.
inline void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::abort();
    }
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace arkivo::fuzz
