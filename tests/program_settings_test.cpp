#include "shell/program_settings.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/program_dir.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ReadFile;
using testing::ScopedEnv;
using testing::TempDir;

constexpr const char* Export = "Export to disk properties";

class ProgramSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { SetProgramDirForTesting(dir_ / "program"); }
    void TearDown() override { SetProgramDirForTesting(ProgramDirBefore); }

    const std::string ProgramDirBefore = ProgramDir();
    TempDir dir_;
    // No Wine prefix, so FindCacheIndex finds nothing.
    ScopedEnv wine_{"WINEPREFIX", dir_ / "wine"};
    SettingsStore store_{dir_ / "Quenlow/Arkivo.reg"};
};

TEST_F(ProgramSettingsTest, FirstRunGivesTheDefaults) {
    const ProgramSettings settings = LoadProgramSettings(store_, Edition::Nav);
    EXPECT_EQ(settings.ArchiveDir, dir_ / "program/ARCHIVE/");
    EXPECT_EQ(settings.DefaultDirectory, dir_ / "program/ARCHIVE/");
    EXPECT_FALSE(settings.UseChosenDirectory);
    EXPECT_TRUE(settings.ShowOriginalUrls);
    EXPECT_TRUE(settings.StrikeoutLinks);
    EXPECT_FALSE(settings.EmphasizeLinks);
    EXPECT_EQ(settings.Emphasis, EmphasisPreset::Bold);
    EXPECT_EQ(settings.ActiveTags.Open, "B");
    EXPECT_EQ(settings.ActiveTags.Close, "/B");
    EXPECT_EQ(settings.CustomTags.Open, "FONT FACE=\"Arial\"");
    EXPECT_EQ(settings.CustomTags.Close, "/FONT");
    EXPECT_EQ(settings.FatPath, "");
    EXPECT_FALSE(settings.WriteWebArchive);
    EXPECT_FALSE(FileExists(store_.FilePath()));
}

TEST_F(ProgramSettingsTest, EmphasizeTypeSelectsAPresetByItsLowestByte) {
    const struct {
        const char* stored;
        EmphasisPreset preset;
        const char* open;
        const char* close;
    } cases[] = {
        {"0x2", EmphasisPreset::Larger, "FONT SIZE=+1", "/FONT"},
        {"1", EmphasisPreset::Italic, "I", "/I"},
        {"258", EmphasisPreset::Larger, "FONT SIZE=+1", "/FONT"},
        {"abc", EmphasisPreset::Bold, "B", "/B"},
        {"7", EmphasisPreset::Bold, "B", "/B"},
        {"-1", EmphasisPreset::Bold, "B", "/B"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(store_.WriteString(Export, "Emphasize Type", c.stored).ok());
        const ProgramSettings settings = LoadProgramSettings(store_, Edition::IE);
        EXPECT_EQ(settings.Emphasis, c.preset) << c.stored;
        EXPECT_EQ(settings.ActiveTags.Open, c.open) << c.stored;
        EXPECT_EQ(settings.ActiveTags.Close, c.close) << c.stored;
    }
}

TEST_F(ProgramSettingsTest, CustomPresetUsesTheStoredTagsEvenWithEmphasisOff) {
    ASSERT_TRUE(store_.WriteString(Export, "Emphasize Type", "3").ok());
    ASSERT_TRUE(store_.WriteString(Export, "EmphasizeTag", "SPAN CLASS=x").ok());
    ASSERT_TRUE(store_.WriteString(Export, "DeEmphasizeTag", "/SPAN").ok());
    const ProgramSettings settings = LoadProgramSettings(store_, Edition::Nav);
    const LinkOptions links = settings.Links();
    EXPECT_FALSE(links.EmphasizeLinks);
    EXPECT_EQ(links.ActiveEmphasizeTag, "SPAN CLASS=x");
    EXPECT_EQ(links.ActiveDeEmphasizeTag, "/SPAN");
}

TEST_F(ProgramSettingsTest, ExportDirectorySelectsTheArchiveDirectory) {
    ASSERT_TRUE(store_.WriteString(Export, "Default directory", "/d/").ok());
    ASSERT_TRUE(store_.WriteString(Export, "Export directory", "1").ok());
    EXPECT_EQ(LoadProgramSettings(store_, Edition::Nav).ArchiveDir, "");

    ASSERT_TRUE(store_.WriteString(Export, "export directory name", "/chosen/").ok());
    EXPECT_EQ(LoadProgramSettings(store_, Edition::Nav).ArchiveDir, "/chosen/");

    for (const char* other : {"0", "2", "x"}) {
        ASSERT_TRUE(store_.WriteString(Export, "Export directory", other).ok());
        const ProgramSettings settings = LoadProgramSettings(store_, Edition::IE);
        EXPECT_EQ(settings.ArchiveDir, "/d/") << other;
        EXPECT_FALSE(settings.UseChosenDirectory) << other;
    }
}

TEST_F(ProgramSettingsTest, LongTextsAreCutTo255InTheProgramValuesOnly) {
    const std::string longDir = "/" + std::string(300, 'd') + "/";
    ASSERT_TRUE(store_.WriteString(Export, "Default directory", longDir).ok());
    const ProgramSettings settings = LoadProgramSettings(store_, Edition::IE);
    EXPECT_EQ(settings.ArchiveDir, longDir.substr(0, 255));
    EXPECT_EQ(settings.DefaultDirectory, longDir);
}

TEST_F(ProgramSettingsTest, StoredFatPathWinsOverTheDiscoveredOne) {
    ASSERT_TRUE(store_.WriteString("Browser options", "FAT Path", "/c/FAT.DB").ok());
    EXPECT_EQ(LoadProgramSettings(store_, Edition::Nav).FatPath, "/c/FAT.DB");
    EXPECT_EQ(LoadProgramSettings(store_, Edition::IE).FatPath, "");
}

// Each edition keeps its own cache setting and leaves the other's alone.
TEST_F(ProgramSettingsTest, EachEditionStoresOnlyItsCacheSetting) {
    ProgramSettings settings = LoadProgramSettings(store_, Edition::IE);
    EXPECT_EQ(settings.IeCache, "");
    settings.IeCache = "/wine/Content.IE5";
    settings.FatPath = "/c/FAT.DB";
    ASSERT_TRUE(StoreProgramSettings(store_, settings, Edition::IE).ok());
    EXPECT_EQ(StoredIeCache(store_), "/wine/Content.IE5");
    EXPECT_EQ(LoadProgramSettings(store_, Edition::IE).IeCache, "/wine/Content.IE5");
    EXPECT_EQ(LoadProgramSettings(store_, Edition::Nav).IeCache, "");
    EXPECT_EQ(store_.ReadString("Browser options", "FAT Path", "absent"), "absent");
    settings.IeCache = "/other";
    ASSERT_TRUE(StoreProgramSettings(store_, settings, Edition::Nav).ok());
    EXPECT_EQ(StoredIeCache(store_), "/wine/Content.IE5");
}

TEST_F(ProgramSettingsTest, StoringWritesBooleansAndChoicesAsDigitTexts) {
    ProgramSettings settings = LoadProgramSettings(store_, Edition::IE);
    settings.EmphasizeLinks = true;
    settings.ShowOriginalUrls = false;
    settings.UseChosenDirectory = true;
    settings.ExportDirectoryName = "/chosen/";
    settings.Emphasis = EmphasisPreset::Custom;
    settings.WriteWebArchive = true;
    ASSERT_TRUE(StoreProgramSettings(store_, settings, Edition::IE).ok());

    EXPECT_EQ(store_.ReadString(Export, "Emphasize links", ""), "1");
    EXPECT_EQ(store_.ReadString(Export, "Show original URLS", ""), "0");
    EXPECT_EQ(store_.ReadString(Export, "Strikeout links", ""), "1");
    EXPECT_EQ(store_.ReadString(Export, "Export directory", ""), "1");
    EXPECT_EQ(store_.ReadString(Export, "Emphasize Type", ""), "3");
    EXPECT_EQ(store_.ReadString(Export, "EmphasizeTag", ""), "FONT FACE=\"Arial\"");
    EXPECT_EQ(store_.ReadString(Export, "Write web archive", ""), "1");
    // ArkivoIE has no cache index path to store.
    EXPECT_EQ(store_.ReadString("Browser options", "FAT Path", "absent"), "absent");

    settings.UseChosenDirectory = false;
    ASSERT_TRUE(StoreProgramSettings(store_, settings, Edition::IE).ok());
    EXPECT_EQ(store_.ReadString(Export, "Export directory", ""), "0");
    EXPECT_EQ(LoadProgramSettings(store_, Edition::IE).ArchiveDir, dir_ / "program/ARCHIVE/");
}

TEST_F(ProgramSettingsTest, StoredValuesLoadBackUnchanged) {
    ProgramSettings settings = LoadProgramSettings(store_, Edition::Nav);
    settings.FatPath = "/cache/FAT.DB";
    settings.DefaultDirectory = "/archive/";
    settings.StrikeoutLinks = false;
    settings.Emphasis = EmphasisPreset::Italic;
    settings.WriteWebArchive = true;
    ASSERT_TRUE(StoreProgramSettings(store_, settings, Edition::Nav).ok());
    EXPECT_NE(ReadFile(store_.FilePath()).find("\"FAT Path\"=\"/cache/FAT.DB\""),
              std::string::npos);

    const ProgramSettings loaded = LoadProgramSettings(store_, Edition::Nav);
    EXPECT_EQ(loaded.FatPath, "/cache/FAT.DB");
    EXPECT_EQ(loaded.ArchiveDir, "/archive/");
    EXPECT_FALSE(loaded.StrikeoutLinks);
    EXPECT_EQ(loaded.Emphasis, EmphasisPreset::Italic);
    EXPECT_EQ(loaded.ActiveTags.Open, "I");
    EXPECT_TRUE(loaded.WriteWebArchive);
}

TEST_F(ProgramSettingsTest, AFailedWriteIsReported) {
    // A directory where the settings file should be cannot be replaced.
    testing::WriteFile(dir_ / "Quenlow/Arkivo.reg/inside", "");
    EXPECT_FALSE(
        StoreProgramSettings(store_, LoadProgramSettings(store_, Edition::IE), Edition::IE).ok());
}

}  // namespace
}  // namespace arkivo
