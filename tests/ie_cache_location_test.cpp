#include "readers/ie_cache_location.h"

#include <gtest/gtest.h>

#include "platform/path.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;

TEST(ResolveIeCache, TakesADirectoryOrItsIndexFile) {
    TempDir temp;
    WriteFile(temp / "Content.IE5/INDEX.DAT", "x");
    const struct {
        std::string cache, index, directory;
    } cases[] = {
        {temp / "Content.IE5", temp / "Content.IE5/INDEX.DAT", temp / "Content.IE5/"},
        {temp / "Content.IE5/", temp / "Content.IE5/INDEX.DAT", temp / "Content.IE5/"},
        {temp / "Content.IE5/INDEX.DAT", temp / "Content.IE5/INDEX.DAT", temp / "Content.IE5/"},
    };
    for (const auto& c : cases) {
        IeCachePaths paths;
        ASSERT_TRUE(ResolveIeCache(c.cache, paths).ok()) << c.cache;
        EXPECT_EQ(paths.IndexPath, c.index);
        EXPECT_EQ(paths.CacheDirectory, c.directory);
    }
    IeCachePaths paths;
    EXPECT_EQ(ResolveIeCache(temp / "absent", paths).code(), StatusCode::NotFound);
    EXPECT_EQ(ResolveIeCache(temp.Path(), paths).code(), StatusCode::NotFound);
}

TEST(DefaultIeCache, PrefersTheEnvironmentVariable) {
    TempDir temp;
    WriteFile(temp /
                  "prefix/drive_c/users/me/Local Settings/Temporary Internet "
                  "Files/Content.IE5/index.dat",
              "x");
    ScopedEnv prefix("WINEPREFIX", temp / "prefix");
    ScopedEnv named("ARKIVO_IE_CACHE", temp / "elsewhere");
    EXPECT_EQ(DefaultIeCache(), temp / "elsewhere");
    EXPECT_EQ(DefaultIeCache(temp / "chosen"), temp / "elsewhere");
    IeCachePaths paths;
    EXPECT_EQ(ResolveIeCache("", paths).code(), StatusCode::NotFound);
}

// Without the variable the cache chosen in the Properties comes before the prefix's.
TEST(DefaultIeCache, TakesTheChosenCacheBeforeTheWinePrefix) {
    TempDir temp;
    const std::string found =
        temp / "prefix/drive_c/users/me/Local Settings/Temporary Internet Files/Content.IE5";
    WriteFile(found + "/index.dat", "x");
    ScopedEnv prefix("WINEPREFIX", temp / "prefix");
    ScopedEnv named("ARKIVO_IE_CACHE", "");
    EXPECT_EQ(DefaultIeCache(temp / "chosen"), temp / "chosen");
    EXPECT_EQ(DefaultIeCache(""), found);
}

TEST(ResolveIeCache, SaysWhyNoCacheWasFound) {
    TempDir temp;
    ScopedEnv named("ARKIVO_IE_CACHE", "");
    IeCachePaths paths;
    {
        ScopedEnv prefix("WINEPREFIX", temp / "prefix");
        EXPECT_EQ(ResolveIeCache("", paths).message(),
                  "No Internet Explorer cache found: no cache folder is chosen, and the Wine "
                  "prefix " +
                      temp / "prefix" + " holds no Content.IE5 folder.");
    }
    ScopedEnv prefix("WINEPREFIX", "");
    ScopedEnv home("HOME", "");
    EXPECT_EQ(ResolveIeCache("", paths).message(),
              "No Internet Explorer cache found: no cache folder is chosen, and there is no "
              "Wine prefix.");
}

// The Wine prefix's profiles are searched, the current user's first, newest layout
// first, names matched without regard to case.
TEST(DefaultIeCache, SearchesTheWinePrefixProfiles) {
    const std::string xp = "Local Settings/Temporary Internet Files/Content.IE5";
    const std::string vista =
        "AppData/Local/Microsoft/Windows/Temporary Internet Files/Content.IE5";
    const std::string inetcache = "AppData/Local/Microsoft/Windows/inetcache/content.ie5";
    const struct {
        std::vector<std::string> indexes;  // below drive_c/users/
        std::string expected;              // empty: none
    } cases[] = {
        {{"me/" + xp}, "me/" + xp},
        {{"me/" + xp, "me/" + vista}, "me/" + vista},
        {{"me/" + vista, "me/" + inetcache}, "me/" + inetcache},
        {{"aaa/" + xp, "me/" + xp}, "me/" + xp},
        {{"other/" + vista}, "other/" + vista},
        {{}, ""},
    };
    for (const auto& c : cases) {
        TempDir temp;
        const std::string users = temp / "drive_c/users/";
        for (const std::string& index : c.indexes) {
            WriteFile(users + index + "/index.dat", "x");
        }
        ScopedEnv prefix("WINEPREFIX", temp.Path());
        ScopedEnv named("ARKIVO_IE_CACHE", "");
        ScopedEnv user("USER", "me");
        EXPECT_EQ(DefaultIeCache(), c.expected.empty() ? "" : users + c.expected)
            << (c.indexes.empty() ? "" : c.indexes.back());
    }
}

}  // namespace
}  // namespace arkivo
