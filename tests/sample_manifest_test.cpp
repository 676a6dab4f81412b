// The manifest the sample site is described by (tools/sample_manifest.h): dates
// in one exact spelling, four TAB-separated fields, content files that must be
// there, and messages that name the line at fault.

#include "../tools/sample_manifest.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace arkivo::samples {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(ManifestDate, ReadsTheExactSpellingItWrites) {
    const DateParts date{2026, 11, 7, 21, 3, 9, 0};
    EXPECT_EQ(FormatManifestDate(date), "2026-11-07 21:03:09");
    const auto read = ParseManifestDate("2026-11-07 21:03:09");
    ASSERT_TRUE(read);
    EXPECT_EQ(EncodeDate(*read), EncodeDate(date));
}

TEST(ManifestDate, RefusesOtherSpellingsAndDaysThatDoNotExist) {
    for (const char* text :
         {"2026-11-07T21:03:09", "2026-11-07 21:03", "2026-11-07 21:03:09Z", "2026-02-30 10:00:00",
          "2026-13-01 10:00:00", "2026-11-07 25:00:00", ""}) {
        EXPECT_FALSE(ParseManifestDate(text)) << text;
    }
}

class ManifestTest : public ::testing::Test {
  protected:
    // Writes the manifest text and reads it back; the error when reading fails.
    std::string ReadBack(const std::string& text) {
        WriteFile(dir_ / "manifest.tsv", text);
        entries_.clear();
        std::string error;
        return ReadManifest(dir_ / "manifest.tsv", entries_, error) ? "" : error;
    }

    TempDir dir_;
    std::vector<ManifestEntry> entries_;
};

TEST_F(ManifestTest, ReadsEachLineWithItsContentFile) {
    WriteFile(dir_ / "host/a.gif", std::string("GIF89a\0\x01", 8));
    WriteFile(dir_ / "host/index.html", "<HTML></HTML>\n");
    ManifestEntry page{
        "http://host/", "text/html", {2026, 10, 10, 19, 12, 0, 0}, "host/index.html", {}};
    const std::string text = "# comment\n\n" + ManifestLine(page) +
                             "http://host/a.gif\timage/gif\t2026-11-21 20:31:00\thost/a.gif\n";
    ASSERT_EQ(ReadBack(text), "");
    ASSERT_EQ(entries_.size(), 2u);
    EXPECT_EQ(entries_[0].Url, "http://host/");
    EXPECT_EQ(entries_[0].ContentType, "text/html");
    EXPECT_EQ(FormatManifestDate(entries_[0].Date), "2026-10-10 19:12:00");
    EXPECT_EQ(entries_[0].Content, "<HTML></HTML>\n");
    EXPECT_EQ(entries_[1].ContentFile, "host/a.gif");
    EXPECT_EQ(entries_[1].Content, std::string("GIF89a\0\x01", 8));
}

TEST_F(ManifestTest, NamesTheLineOfAMissingField) {
    const std::string error =
        ReadBack("# resources\nhttp://host/\ttext/html\t2026-10-10 19:12:00\n");
    EXPECT_EQ(error, dir_ /
                         "manifest.tsv:2: expected URL, content type, date and content file "
                         "separated by TABs");
}

TEST_F(ManifestTest, NamesABadDate) {
    WriteFile(dir_ / "page.html", "x");
    EXPECT_EQ(ReadBack("http://host/\ttext/html\t10/10/2026\tpage.html\n"),
              dir_ / "manifest.tsv:1: the date \"10/10/2026\" is not YYYY-MM-DD HH:MM:SS");
}

TEST_F(ManifestTest, NamesAMissingContentFile) {
    EXPECT_EQ(ReadBack("http://host/\ttext/html\t2026-10-10 19:12:00\tgone.html\n"),
              dir_ / "manifest.tsv:1: cannot read the content file " + dir_ / "gone.html");
}

TEST_F(ManifestTest, RefusesAManifestWithoutResources) {
    EXPECT_EQ(ReadBack("# nothing yet\n"), dir_ / "manifest.tsv: the manifest lists no resources");
}

TEST(Manifest, NamesAManifestThatCannotBeRead) {
    std::vector<ManifestEntry> entries;
    std::string error;
    EXPECT_FALSE(ReadManifest("/nonexistent/manifest.tsv", entries, error));
    EXPECT_EQ(error, "cannot read the manifest /nonexistent/manifest.tsv");
}

}  // namespace
}  // namespace arkivo::samples
