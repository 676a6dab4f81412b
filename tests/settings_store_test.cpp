#include "shell/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ReadFile;
using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteFile;

constexpr const char* Export = "Export to disk properties";

TEST(SettingsStore, LivesUnderTheUsersConfigDirectory) {
    TempDir dir;
    {
        ScopedEnv config("XDG_CONFIG_HOME", dir / "config");
        EXPECT_EQ(DefaultSettingsPath(), dir / "config/Quenlow/Arkivo.reg");
    }
    ScopedEnv config("XDG_CONFIG_HOME", "");
    ScopedEnv home("HOME", dir / "home");
    EXPECT_EQ(DefaultSettingsPath(), dir / "home/.config/Quenlow/Arkivo.reg");
}

TEST(SettingsStore, MissingFileSectionOrValueGivesTheDefaultAndCreatesNothing) {
    TempDir dir;
    SettingsStore store(dir / "Quenlow/Arkivo.reg");
    EXPECT_EQ(store.ReadString(Export, "Default directory", "dflt"), "dflt");
    EXPECT_EQ(store.ReadInteger(Export, "Emphasize Type", 7), 7);
    EXPECT_TRUE(store.ReadBool(Export, "Strikeout links", true));
    EXPECT_FALSE(FileExists(store.FilePath()));
}

TEST(SettingsStore, WritesTextValuesThatReadBack) {
    TempDir dir;
    SettingsStore store(dir / "Quenlow/Arkivo.reg");
    ASSERT_TRUE(store.WriteString(Export, "Default directory", "/home/me/ARCHIVE/").ok());
    ASSERT_TRUE(store.WriteBool(Export, "Emphasize links", true).ok());
    ASSERT_TRUE(store.WriteInteger(Export, "Export directory", 0).ok());
    ASSERT_TRUE(store.WriteString("Browser options", "FAT Path", "/c/FAT.DB").ok());

    const std::string text = ReadFile(store.FilePath());
    EXPECT_NE(
        text.find("[HKEY_CURRENT_USER\\Software\\Quenlow\\Arkivo\\Export to disk properties]"),
        std::string::npos);
    EXPECT_NE(text.find("\"Emphasize links\"=\"1\""), std::string::npos);
    EXPECT_NE(text.find("\"Export directory\"=\"0\""), std::string::npos);

    SettingsStore again(store.FilePath());
    EXPECT_EQ(again.ReadString(Export, "Default directory", ""), "/home/me/ARCHIVE/");
    EXPECT_TRUE(again.ReadBool(Export, "Emphasize links", false));
    EXPECT_EQ(again.ReadString("Browser options", "FAT Path", ""), "/c/FAT.DB");
    EXPECT_FALSE(FileExists(store.FilePath() + ".tmp"));
}

TEST(SettingsStore, IntegersFollowTheHexAndDecimalRules) {
    const std::pair<const char*, int> cases[] = {{"0x2", 2},
                                                 {"0X1f", 31},
                                                 {"0xFFFFFFFF", -1},
                                                 {"0x", 9},
                                                 {"0xg", 9},
                                                 {"0x123456789", 9},
                                                 {"12", 12},
                                                 {"-3", -3},
                                                 {"+4", 4},
                                                 {"abc", 9},
                                                 {"", 9},
                                                 {"1.5", 9},
                                                 {"99999999999", 9},
                                                 {"2147483647", 2147483647},
                                                 {"-2147483648", -2147483647 - 1}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseStoredInteger(text, 9), expected) << text;
    }
}

TEST(SettingsStore, BooleansAreAnyNonZeroNumber) {
    TempDir dir;
    SettingsStore store(dir / "s.reg");
    store.WriteString(Export, "A", "7");
    store.WriteString(Export, "B", "0");
    store.WriteString(Export, "C", "yes");
    EXPECT_TRUE(store.ReadBool(Export, "A", false));
    EXPECT_FALSE(store.ReadBool(Export, "B", true));
    EXPECT_TRUE(store.ReadBool(Export, "C", true));
    EXPECT_FALSE(store.ReadBool(Export, "C", false));
}

TEST(SettingsStore, ADamagedFileKeepsItsReadableValuesThroughAWrite) {
    TempDir dir;
    WriteFile(
        dir / "s.reg",
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Quenlow\\Arkivo\\Search properties]\r\n"
        "\"Search directory\"=\"/arch/\"\r\n\x01\x02 garbage\r\n\"half=\r\n");
    SettingsStore store(dir / "s.reg");
    EXPECT_EQ(store.ReadString("Search properties", "Search directory", ""), "/arch/");
    ASSERT_TRUE(store.WriteString(Export, "Default directory", "/d/").ok());
    EXPECT_EQ(store.ReadString("Search properties", "Search directory", ""), "/arch/");
    EXPECT_EQ(store.ReadString(Export, "Default directory", ""), "/d/");
}

// The parsed file is kept between reads, but never past a change by anyone else.
TEST(SettingsStore, ReadsSeeEveryChangeToTheFile) {
    TempDir dir;
    SettingsStore store(dir / "s.reg");
    const auto file = [&](const std::string& value) {
        return "REGEDIT4\r\n\r\n[" + std::string(SettingsKeyPath) + "\\" + Export +
               "]\r\n\"X\"=\"" + value + "\"\r\n";
    };
    WriteFile(dir / "s.reg", file("one"));
    EXPECT_EQ(store.ReadString(Export, "X", ""), "one");
    WriteFile(dir / "s.reg", file("two"));  // rewritten in place, same size
    EXPECT_EQ(SettingsStore(dir / "s.reg").ReadString(Export, "X", ""), "two");
    ASSERT_TRUE(SettingsStore(dir / "s.reg").WriteString(Export, "X", "three").ok());
    EXPECT_EQ(store.ReadString(Export, "X", ""), "three");
}

// A settings file kept as a link stays one: the save replaces what it leads to.
TEST(SettingsStore, ALinkedFileKeepsItsLink) {
    TempDir dir;
    WriteFile(dir / "dotfiles/Arkivo.reg", "REGEDIT4\r\n");
    std::filesystem::create_symlink(dir / "dotfiles/Arkivo.reg", dir / "s.reg");
    SettingsStore store(dir / "s.reg");
    ASSERT_TRUE(store.WriteString(Export, "X", "1").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "s.reg"));
    EXPECT_NE(ReadFile(dir / "dotfiles/Arkivo.reg").find("\"X\"=\"1\""), std::string::npos);
    EXPECT_EQ(store.ReadString(Export, "X", ""), "1");
}

TEST(SettingsStore, AFileThatCannotBeReadIsNeverReplaced) {
    // A directory where the file should be cannot be read, whoever runs the test.
    TempDir dir;
    WriteFile(dir / "s.reg/inside", "kept");
    SettingsStore store(dir / "s.reg");
    const Status status = store.WriteString(Export, "X", "1");
    EXPECT_EQ(status.code(), StatusCode::Unreadable);
    EXPECT_EQ(ReadFile(dir / "s.reg/inside"), "kept");
}

}  // namespace
}  // namespace arkivo
