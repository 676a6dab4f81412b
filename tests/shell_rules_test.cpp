// The small rules of the main window and the Properties dialog: the version text,
// the default index path, the help file, the preview and the edition differences.

#include <gtest/gtest.h>

#include "platform/program_dir.h"
#include "shell/default_index.h"
#include "shell/help_file.h"
#include "shell/prefs_rules.h"
#include "shell/program_values.h"
#include "shell/version_text.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

TEST(ShellRulesTest, VersionTextCarriesTheBuildNumber) {
    EXPECT_EQ(VersionText(), "Version 6.0 (Build 603)");
}

class DefaultIndexTest : public ::testing::Test {
  protected:
    void SetUp() override { SetProgramDirForTesting(dir_ / "program"); }
    void TearDown() override { SetProgramDirForTesting(programDirBefore_); }

    const std::string programDirBefore_ = ProgramDir();
    testing::TempDir dir_;
    SettingsStore store_{dir_ / "Arkivo.reg"};
};

TEST_F(DefaultIndexTest, WithNothingStoredTheArchiveBesideTheProgramIsUsed) {
    EXPECT_EQ(DefaultIndexPath(store_), dir_ / "program/ARCHIVE/1st_page.htm");
}

TEST_F(DefaultIndexTest, ADirectoryTypedWithoutSeparatorStillFindsItsIndex) {
    ASSERT_TRUE(
        store_.WriteString("Export to disk properties", "Default directory", "/srv/web").ok());
    EXPECT_EQ(DefaultIndexPath(store_), "/srv/web/1st_page.htm");
    ASSERT_TRUE(
        store_.WriteString("Export to disk properties", "Default directory", "/srv/web/").ok());
    EXPECT_EQ(DefaultIndexPath(store_), "/srv/web/1st_page.htm");
}

TEST(ShellRulesTest, HelpFileIsFoundOnlyWhenPresent) {
    testing::TempDir dir;
    EXPECT_EQ(LocateHelpFile(dir.Path()), "");
    testing::WriteFile(dir / "help/Arkivo.html", "<html></html>");
    EXPECT_EQ(LocateHelpFile(dir.Path()), dir / "help/Arkivo.html");
    EXPECT_EQ(HelpTopicAnchor(12), "topic-12");
}

TEST(ShellRulesTest, PreviewShowsTheTagsAroundTheLink) {
    EXPECT_EQ(EmphasisPreviewText("FONT FACE=\"Arial\"", "/FONT"),
              "<FONT FACE=\"Arial\">Link Here</FONT>");
    EXPECT_EQ(EmphasisPreviewText("", ""), "<>Link Here<>");
}

TEST(ShellRulesTest, EditionsDifferInHowDirectoryEditsAct) {
    EXPECT_TRUE(DirectoryEditsSetArchiveDir(Edition::IE));
    EXPECT_FALSE(DirectoryEditsSetArchiveDir(Edition::Nav));
    EXPECT_TRUE(DirectoryEditsEnableApply(Edition::Nav));
    EXPECT_FALSE(DirectoryEditsEnableApply(Edition::IE));
}

TEST(ShellRulesTest, OnlyArkivoNavNeedsAnExistingCacheIndex) {
    testing::TempDir dir;
    testing::WriteFile(dir / "FAT.DB", "x");
    EXPECT_TRUE(CacheIndexPathIsUsable(Edition::Nav, dir / "FAT.DB"));
    EXPECT_FALSE(CacheIndexPathIsUsable(Edition::Nav, dir / "FAT"));
    EXPECT_FALSE(CacheIndexPathIsUsable(Edition::Nav, ""));
    EXPECT_FALSE(CacheIndexPathIsUsable(Edition::Nav, dir.Path()));
    EXPECT_TRUE(CacheIndexPathIsUsable(Edition::IE, ""));
}

TEST(ShellRulesTest, ProgramValuesAreCutTo255Characters) {
    EXPECT_EQ(ProgramValueText(std::string(300, 'd')), std::string(255, 'd'));
    EXPECT_EQ(ProgramValueText("/srv/"), "/srv/");
}

}  // namespace
}  // namespace arkivo
