// A Navigator 4 profile's prefs.js, read through a Wine prefix made once: its
// system.reg names the profile C:\prof, whose prefs.js is each input.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "fuzz_scratch.h"
#include "readers/netscape_location.h"

namespace {

const std::string& PrefixDir() {
    static const std::string dir = [] {
        const std::string prefix = arkivo::fuzz::ScratchDir() + "prefix";
        std::filesystem::create_directories(prefix + "/drive_c/prof");
        std::filesystem::create_directories(prefix + "/dosdevices");
        if (::symlink("../drive_c", (prefix + "/dosdevices/c:").c_str()) != 0) {
            std::abort();
        }
        arkivo::fuzz::WriteBytes(prefix + "/system.reg",
                                 "WINE REGISTRY Version 2\n\n"
                                 "[Software\\\\Netscape\\\\Netscape Navigator\\\\Users] 1\n"
                                 "\"CurrentUser\"=\"me\"\n\n"
                                 "[Software\\\\Netscape\\\\Netscape Navigator\\\\Users\\\\me] 1\n"
                                 "\"DirRoot\"=\"C:\\\\prof\"\n");
        return prefix;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& prefix = PrefixDir();
    arkivo::fuzz::WriteBytes(prefix + "/drive_c/prof/prefs.js", arkivo::fuzz::AsText(data, size));
    arkivo::TNavigator4Paths navigator((arkivo::WinePrefix(prefix)));
    (void)navigator.ReadPref("browser.cache.directory");
    (void)navigator.CacheDir();
    return 0;
}
