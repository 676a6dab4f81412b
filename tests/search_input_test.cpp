#include "search/search_input.h"

#include <gtest/gtest.h>

#include "platform/path.h"
#include "platform/program_dir.h"
#include "search/search_settings.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(SearchInput, TheChecksComeInOrderTextsDirectoryArchiveInfo) {
    TempDir dir;
    EXPECT_EQ(CheckSearchInput("", "", dir / "missing"), SearchInputCheck::NoSearchText);
    EXPECT_EQ(CheckSearchInput("a", "", dir / "missing"), SearchInputCheck::NoDirectory);
    EXPECT_EQ(CheckSearchInput("", "a", ""), SearchInputCheck::NoDirectory);
    EXPECT_EQ(CheckSearchInput("", "a", dir.Path()), SearchInputCheck::NoArchiveInfo);
    WriteFile(dir / "archive.dat", "");
    EXPECT_EQ(CheckSearchInput("", "a", dir.Path()), SearchInputCheck::Ok);
    EXPECT_EQ(CheckSearchInput("a", "", ExcludeTrailingSeparator(dir.Path())),
              SearchInputCheck::Ok);
}

TEST(SearchInput, AFileIsNoDirectory) {
    TempDir dir;
    WriteFile(dir / "archive.dat", "");
    EXPECT_EQ(CheckSearchInput("a", "", dir / "archive.dat"), SearchInputCheck::NoDirectory);
}

TEST(SearchInput, Messages) {
    EXPECT_EQ(SearchInputMessage(SearchInputCheck::NoSearchText, "/x"), "Enter some search text.");
    EXPECT_EQ(SearchInputMessage(SearchInputCheck::NoDirectory, "/no/such"),
              "Couldn't find directory\r\n\r\n/no/such");
    EXPECT_EQ(SearchInputMessage(SearchInputCheck::NoArchiveInfo, "/x"),
              "Couldn't find an archive info file\r\n(archive.dat) in this directory.");
    EXPECT_EQ(SearchInputMessage(SearchInputCheck::Ok, "/x"), "");
}

TEST(SearchInput, TheSearchDirectoryEndsWithOneSeparator) {
    EXPECT_EQ(SearchDirectoryOf("/srv/archive"), "/srv/archive/");
    EXPECT_EQ(SearchDirectoryOf("/srv/archive/"), "/srv/archive/");
    EXPECT_EQ(SearchDirectoryOf(std::string(300, 'd')), std::string(255, 'd') + "/");
}

TEST(SearchInput, SearchTextsAreCutAndFoldedAToZ) {
    EXPECT_EQ(SearchTextOf("Hello WORLD \xC9t\xC9"), "hello world \xC9t\xC9");
    EXPECT_EQ(SearchTextOf(std::string(300, 'X')), std::string(255, 'x'));
}

TEST(SearchSettings, TheSearchDirectoryFallsBackToTheDefaultDirectory) {
    TempDir dir;
    SettingsStore store(dir / "Arkivo.reg");
    EXPECT_EQ(StoredSearchDirectory(store), ProgramDir() + "ARCHIVE/");
    ASSERT_TRUE(
        store.WriteString("Export to disk properties", "Default directory", "/srv/a/").ok());
    EXPECT_EQ(StoredSearchDirectory(store), "/srv/a/");
    ASSERT_TRUE(StoreSearchDirectory(store, "/srv/b").ok());
    EXPECT_EQ(StoredSearchDirectory(store), "/srv/b");
    EXPECT_EQ(store.ReadString("Search properties", "Search directory", ""), "/srv/b");
}

}  // namespace
}  // namespace arkivo
