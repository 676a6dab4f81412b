#include "platform/no_case_listing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(NoCaseListing, FindsNamesInAnyCaseAndPrefersTheExactSpelling) {
    TempDir dir;
    WriteFile(dir / "Index[1].HTM", "a");
    WriteFile(dir / "index[1].htm", "b");
    WriteFile(dir / "INDEX[1].htm", "c");
    WriteFile(dir / "LOGO.GIF", "d");
    std::filesystem::create_directory(dir / "Sub");
    const NoCaseListing listing(dir.Path());
    ASSERT_TRUE(listing.Readable());

    for (const std::string name : {"Index[1].HTM", "index[1].htm", "INDEX[1].htm"}) {
        const NoCaseListing::Entry* entry = listing.Find(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->Name, name);
    }
    const NoCaseListing::Entry* other = listing.Find("INDEX[1].HTM");
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->Name == "Index[1].HTM" || other->Name == "index[1].htm" ||
                other->Name == "INDEX[1].htm")
        << other->Name;

    const NoCaseListing::Entry* logo = listing.Find("logo.gif");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->Name, "LOGO.GIF");
    EXPECT_TRUE(logo->Type == DT_REG || logo->Type == DT_UNKNOWN);
    const NoCaseListing::Entry* sub = listing.Find("sub");
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(sub->Type == DT_DIR || sub->Type == DT_UNKNOWN);

    EXPECT_EQ(listing.Find("logo.gif2"), nullptr);
    EXPECT_EQ(listing.Find(""), nullptr);
}

TEST(NoCaseListing, FoldsOnlyTheLettersAToZ) {
    TempDir dir;
    WriteFile(dir / "a@b", "x");
    const NoCaseListing listing(dir.Path());
    EXPECT_NE(listing.Find("A@B"), nullptr);
    EXPECT_EQ(listing.Find("a`b"), nullptr);
}

TEST(NoCaseListing, AMissingDirectoryFindsNothing) {
    TempDir dir;
    const NoCaseListing listing(dir / "missing");
    EXPECT_FALSE(listing.Readable());
    EXPECT_EQ(listing.Find("anything"), nullptr);
}

}  // namespace
}  // namespace arkivo
