#include "readers/netscape_location.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

// A Wine prefix in a temporary directory with drive C: and registry hives.
class WinePrefixFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::mkdir(Prefix("").c_str(), 0755), 0);
        ASSERT_EQ(::mkdir(Prefix("dosdevices").c_str(), 0755), 0);
        ASSERT_EQ(::mkdir(Prefix("drive_c").c_str(), 0755), 0);
        ASSERT_EQ(::symlink("../drive_c", Prefix("dosdevices/c:").c_str()), 0);
    }

    std::string Prefix(const std::string& name) const { return root_ / ("wine/" + name); }
    std::string DriveC(const std::string& name) const { return Prefix("dosdevices/c:/" + name); }

    void WriteHive(const std::string& name, const std::string& keysAndValues) {
        WriteFile(Prefix(name), "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n" +
                                    keysAndValues);
    }

    // Navigator 4 profile "me" in C:\Program Files\Netscape\Users\me, the DirRoot
    // written with a trailing "; " as some installers left it.
    void WriteProfile(const std::string& prefs) {
        WriteHive("system.reg",
                  "[Software\\\\Netscape\\\\Netscape Navigator\\\\Users] 1\n"
                  "\"CurrentUser\"=\"me\"\n\n"
                  "[Software\\\\Netscape\\\\Netscape Navigator\\\\Users\\\\me] 1\n"
                  "\"DirRoot\"=\"C:\\\\Program Files\\\\Netscape\\\\Users\\\\me; \"\n");
        WriteFile(DriveC("Program Files/Netscape/Users/me/prefs.js"), prefs);
    }

    void WriteNavigator3(const std::string& cacheDir) {
        WriteHive("user.reg",
                  "[Software\\\\Netscape\\\\Netscape Navigator\\\\Cache] 1\n"
                  "\"Cache Dir\"=\"" +
                      cacheDir + "\"\n");
    }

    WinePrefix Wine() const { return WinePrefix(Prefix("")); }

    TempDir root_;
};

void SetModificationTime(const std::string& path, time_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST_F(WinePrefixFixture, ProfileDirIsCleanedOfTrailingSpacesAndSemicolons) {
    WriteProfile("");
    EXPECT_EQ(TNavigator4(Wine()).ProfileDir(), "C:\\Program Files\\Netscape\\Users\\me\\");
}

TEST_F(WinePrefixFixture, FindsTheCacheNamedInPrefsWithAnyLetterCase) {
    WriteProfile(
        "// Netscape User Preferences\r\n"
        "user_pref(\"browser.cache.disk_cache_size\", 7680);\r\n"
        "user_pref(\"Browser.Cache.Directory\", \"c:/netscape/users/me/CACHE\");\r\n");
    WriteFile(DriveC("Netscape/Users/me/cache/FAT.DB"), "x");
    const std::string found = DriveC("Netscape/Users/me/cache/FAT.DB");

    EXPECT_EQ(FindCacheIndex(Wine()), found);
    testing::ScopedEnv prefix("WINEPREFIX", Prefix(""));
    EXPECT_EQ(FindCacheIndex(), found);
}

// A 64-bit prefix keeps the 32-bit Navigator's machine keys under Wow6432Node.
TEST_F(WinePrefixFixture, FindsTheProfileOfA64BitPrefix) {
    WriteHive("system.reg",
              "#arch=win64\n\n"
              "[Software\\\\Wow6432Node\\\\Netscape\\\\Netscape Navigator\\\\Users] 1\n"
              "\"CurrentUser\"=\"me\"\n\n"
              "[Software\\\\Wow6432Node\\\\Netscape\\\\Netscape Navigator\\\\Users\\\\me] 1\n"
              "\"DirRoot\"=\"C:\\\\Users\\\\me\"\n");
    WriteFile(DriveC("users/me/cache/FAT.DB"), "x");
    EXPECT_EQ(FindCacheIndex(Wine()), DriveC("users/me/cache/FAT.DB"));
}

TEST_F(WinePrefixFixture, FallsBackToTheProfilesCacheDirectory) {
    WriteProfile("user_pref(\"browser.cache.directory\", \"C:\\\\nowhere\");\n");
    WriteFile(DriveC("Program Files/Netscape/Users/me/cache/fat"), "x");
    EXPECT_EQ(FindCacheIndex(Wine()), DriveC("Program Files/Netscape/Users/me/cache/fat"));
}

TEST_F(WinePrefixFixture, FindsTheNavigator3Cache) {
    WriteNavigator3("C:\\\\Netscape\\\\Navigator\\\\Cache");
    WriteFile(DriveC("netscape/navigator/cache/fat.db"), "x");
    EXPECT_EQ(FindCacheIndex(Wine()), DriveC("netscape/navigator/cache/fat.db"));
}

TEST_F(WinePrefixFixture, PicksTheNewerIndexAndNavigator4OnEqualTimes) {
    WriteProfile("user_pref(\"browser.cache.directory\", \"C:/nav4\");\n");
    WriteNavigator3("C:\\\\nav3");
    const std::string nav3 = DriveC("nav3/FAT.DB");
    const std::string nav4 = DriveC("nav4/FAT.DB");
    WriteFile(nav3, "x");
    WriteFile(nav4, "x");
    for (const auto& [time3, time4, expected] :
         {std::tuple{2000, 1000, nav3}, {1000, 2000, nav4}, {1500, 1500, nav4}}) {
        SetModificationTime(nav3, time3);
        SetModificationTime(nav4, time4);
        EXPECT_EQ(FindCacheIndex(Wine()), expected) << time3 << " " << time4;
    }
}

TEST_F(WinePrefixFixture, NothingRegisteredFindsNothing) {
    WriteFile(DriveC("Netscape/Cache/FAT.DB"), "x");
    EXPECT_EQ(FindCacheIndex(Wine()), "");
    EXPECT_EQ(FindCacheIndex(WinePrefix("")), "");
}

TEST(IndexFileIn, PrefersFatDbAndIgnoresLetterCase) {
    TempDir dir;
    EXPECT_EQ(IndexFileIn(dir.Path()), "");
    EXPECT_FALSE(HasIndexFile(dir.Path()));
    WriteFile(dir / "FAT", "x");
    EXPECT_EQ(IndexFileIn(dir.Path()), dir / "FAT");
    WriteFile(dir / "fat.DB", "x");
    EXPECT_EQ(IndexFileIn(dir.Path()), dir / "fat.DB");
    EXPECT_TRUE(HasIndexFile(dir.Path()));
    EXPECT_EQ(IndexFileIn(""), "");
}

struct PrefCase {
    const char* prefs;
    std::optional<std::string> value;
};

class ReadPrefCases : public WinePrefixFixture, public ::testing::WithParamInterface<PrefCase> {};

TEST_P(ReadPrefCases, TakesTheValueAsWritten) {
    WriteProfile(GetParam().prefs);
    TNavigator4 navigator(Wine());
    EXPECT_EQ(navigator.ReadPref("browser.cache.directory"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadPrefCases,
    ::testing::Values(
        PrefCase{"user_pref(\"browser.cache.directory\", \"C:\\\\a b\\\\c\");\n", "C:\\\\a b\\\\c"},
        PrefCase{"x\r\nUSER_PREF(\"BROWSER.CACHE.DIRECTORY\",\"D:/x\")\r\n", "D:/x"},
        PrefCase{"user_pref(\"browser.cache.directory.other\", \"D:/x\");\n", std::nullopt},
        PrefCase{"user_pref(\"browser.cache.directory\", \"D:/x\";\n", std::nullopt},
        PrefCase{"user_pref(\"browser.cache.directory\", \"\");\n", std::nullopt},
        PrefCase{"", std::nullopt}));

TEST(WinePrefixPaths, MapsDriveLettersThroughDosdevices) {
    TempDir root;
    ASSERT_EQ(::mkdir((root / "dosdevices").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((root / "d").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("../d", (root / "dosdevices/d:").c_str()), 0);
    WriteFile(root / "d/Some Dir/File.txt", "x");
    const WinePrefix prefix(root.Path());
    EXPECT_EQ(prefix.LocalPath("D:\\some dir\\\\FILE.TXT"),
              root / "dosdevices/d:/Some Dir/File.txt");
    EXPECT_EQ(prefix.LocalPath("d:/SOME DIR/new\\"), root / "dosdevices/d:/Some Dir/new");
    EXPECT_EQ(prefix.LocalPath("C:\\x"), "");
    EXPECT_EQ(prefix.LocalPath("\\\\server\\share"), "");
    EXPECT_EQ(prefix.LocalPath(""), "");
}

}  // namespace
}  // namespace arkivo
