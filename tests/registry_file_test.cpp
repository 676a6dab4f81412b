#include "platform/registry_file.h"

#include <gtest/gtest.h>

namespace arkivo {
namespace {

TEST(RegistryFile, RoundTripKeepsEveryValueAndEscape) {
    RegistryFile file;
    const std::string key =
        "HKEY_CURRENT_USER\\Software\\Quenlow\\Arkivo\\Export to disk properties";
    file.SetString(key, "Default directory", "C:\\ARCHIVE\\");
    file.SetString(key, "EmphasizeTag", "FONT FACE=\"Arial\"");
    file.SetString(key, "Odd", "line1\r\nline2 \xE9");
    file.SetString(key, "Empty", "");

    const std::string text = file.ToRegedit4();
    EXPECT_EQ(text.substr(0, 10), "REGEDIT4\r\n");
    EXPECT_NE(text.find("\"Default directory\"=\"C:\\\\ARCHIVE\\\\\"\r\n"), std::string::npos);

    const RegistryFile read = RegistryFile::Parse(text);
    EXPECT_EQ(read.StringValue(key, "Default directory"), "C:\\ARCHIVE\\");
    EXPECT_EQ(read.StringValue(key, "EmphasizeTag"), "FONT FACE=\"Arial\"");
    EXPECT_EQ(read.StringValue(key, "Odd"), "line1\r\nline2 \xE9");
    EXPECT_EQ(read.StringValue(key, "Empty"), "");
    EXPECT_EQ(read.StringValue(key, "Missing"), std::nullopt);
}

TEST(RegistryFile, KeysAndNamesIgnoreCase) {
    const RegistryFile file =
        RegistryFile::Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\A]\n\"Name\"=\"v\"\n");
    EXPECT_EQ(file.StringValue("hkey_current_user\\software\\a", "NAME"), "v");
    EXPECT_TRUE(file.HasKey("HKEY_CURRENT_USER\\SOFTWARE\\A"));
}

// A name given again, in any case and even in a second section of the same key,
// replaces the value in its first place.
TEST(RegistryFile, ARepeatedNameReplacesTheFirstValue) {
    const RegistryFile file = RegistryFile::Parse(
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\"\n\"y\"=\"2\"\n[HKEY_CURRENT_USER\\B]\n"
        "\"x\"=\"b\"\n[HKEY_CURRENT_USER\\A]\n\"X\"=\"3\"\n");
    ASSERT_EQ(file.Keys().size(), 2u);
    ASSERT_EQ(file.Keys()[0].Values.size(), 2u);
    EXPECT_EQ(file.Keys()[0].Values[0].Data, "3");
    EXPECT_EQ(file.StringValue("HKEY_CURRENT_USER\\A", "x"), "3");
    EXPECT_EQ(file.StringValue("HKEY_CURRENT_USER\\B", "x"), "b");
}

TEST(RegistryFile, DamagedLinesAreSkippedAndTheRestCounts) {
    const RegistryFile file = RegistryFile::Parse(
        "REGEDIT4\r\n"
        "\"orphan\"=\"before any key\"\r\n"
        "[HKEY_CURRENT_USER\\S\\K]\r\n"
        "\"good1\"=\"one\"\r\n"
        "\"unterminated=\"x\r\n"
        "garbage line\r\n"
        "\"noquote\"=bare\r\n"
        "\"open\"=\"never closed\r\n"
        "[broken key\r\n"
        "\"lost\"=\"belongs to no key\"\r\n"
        "[HKEY_CURRENT_USER\\S\\K]\r\n"
        "\"good2\"=\"two\"\r\n"
        "\"num\"=dword:0000001f\r\n"
        "\"bin\"=hex:41,42,\\\r\n"
        "  43\r\n"
        "\"after\"=\"three\"\r\n");
    const char* key = "HKEY_CURRENT_USER\\S\\K";
    EXPECT_EQ(file.StringValue(key, "good1"), "one");
    EXPECT_EQ(file.StringValue(key, "good2"), "two");
    EXPECT_EQ(file.StringValue(key, "after"), "three");
    EXPECT_EQ(file.StringValue(key, "noquote"), std::nullopt);
    EXPECT_EQ(file.StringValue(key, "open"), std::nullopt);
    EXPECT_EQ(file.StringValue(key, "num"), std::nullopt);  // not a string value
    EXPECT_EQ(file.Keys().size(), 1u);
    const auto& values = file.Keys()[0].Values;
    const auto bin =
        std::find_if(values.begin(), values.end(), [](const auto& v) { return v.Name == "bin"; });
    ASSERT_NE(bin, values.end());
    EXPECT_EQ(bin->Data, "ABC");
}

TEST(RegistryFile, ReadsWineHives) {
    const RegistryFile file = RegistryFile::Parse(
        "WINE REGISTRY Version 2\n"
        ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
        "\n"
        "#arch=win32\n"
        "\n"
        "[Software\\\\Netscape\\\\Netscape Navigator\\\\Users] 1700000000\n"
        "#time=1d9a1b2c3d4e5f6\n"
        "\"CurrentUser\"=\"default\"\n"
        "\n"
        "[Software\\\\Netscape\\\\Netscape Navigator\\\\Users\\\\default] 1700000000\n"
        "\"DirRoot\"=\"C:\\\\Program Files\\\\Netscape\\\\Users\\\\default\"\n"
        "\"Cache Dir\"=str(2):\"%USERPROFILE%\\\\cache\"\n"
        "\"Caf\\xe9\"=\"\\x00e9t\\xe9\\tx\"\n"
        "@=\"default value\"\n");
    const char* users = "Software\\Netscape\\Netscape Navigator\\Users";
    EXPECT_EQ(file.StringValue(users, "CurrentUser"), "default");
    const char* user = "Software\\Netscape\\Netscape Navigator\\Users\\default";
    EXPECT_EQ(file.StringValue(user, "DirRoot"), "C:\\Program Files\\Netscape\\Users\\default");
    EXPECT_EQ(file.StringValue(user, "Cache Dir"), "%USERPROFILE%\\cache");
    EXPECT_EQ(file.StringValue(user, "Caf\xe9"), "\xe9t\xe9\tx");
    EXPECT_EQ(file.StringValue(user, ""), "default value");
}

}  // namespace
}  // namespace arkivo
