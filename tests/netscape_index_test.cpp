#include "readers/netscape_index.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/content_types.h"
#include "netscape_test_records.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

std::string Fixture(const std::string& name) {
    return testing::ReadFile(testing::TestDataDir() + "/netscape/" + name);
}

class ReadCacheIndexTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadMimeTypes(dir_.Path());
        SetNowForTesting(EncodeDate({2000, 1, 1, 12, 0, 0, 0}));
    }
    void TearDown() override { SetNowForTesting(std::nullopt); }

    std::vector<std::string> Urls() const {
        std::vector<std::string> urls;
        for (const auto& item : items_) {
            urls.push_back(item->Url);
        }
        return urls;
    }

    TempDir dir_;
    ScriptedDialogs dialogs_;
    ScopedDialogs scoped_{dialogs_};
    TCacheItemList items_;
};

TEST_F(ReadCacheIndexTest, WarnsWhenTheIndexCannotBeOpened) {
    for (const std::string& path : {dir_ / "FAT.DB", dir_.Path()}) {
        const CacheIndexRead read = ReadCacheIndex(path, items_);
        EXPECT_FALSE(read.Opened) << path;
    }
    ASSERT_EQ(dialogs_.Shown().size(), 2u);
    const DialogMessage& shown = dialogs_.Shown()[0];
    EXPECT_EQ(shown.Text, "Please close down Netscape\r\nbefore continuing.");
    EXPECT_EQ(shown.Icon, DialogIcon::Warning);
    EXPECT_EQ(shown.Buttons, DialogButtons::Ok);
    EXPECT_TRUE(items_.empty());
}

TEST_F(ReadCacheIndexTest, ReadsFatDbWithCachedFilesFoundWithoutRegardToCase) {
    WriteFile(dir_ / "FAT.DB", Fixture("fat4k_five_entries.db"));
    for (const char* name :
         {"M0000000.HTM", "M0000001.GIF", "m0000002.jpg", "M0000003.TXT", "M0000004.WAV"}) {
        WriteFile(dir_ / name, "x");
    }
    int pages = 0;
    const CacheIndexRead read = ReadCacheIndex(dir_ / "FAT.DB", items_, [&] { ++pages; });
    EXPECT_TRUE(read.Opened);
    EXPECT_TRUE(read.Error.ok());
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(Urls(), (std::vector<std::string>{"http://www.site2.example:80/page/2.jpg",
                                                "http://www.site0.example:80/page/0.htm",
                                                "http://www.site4.example:80/page/4.wav",
                                                "http://www.site3.example:80/page/3.txt",
                                                "http://www.site1.example:80/page/1.gif"}));
    ASSERT_EQ(items_.size(), 5u);
    EXPECT_EQ(items_[0]->CacheFile, dir_ / "m0000002.jpg");
    EXPECT_EQ(items_[0]->Domain, "www.site2.example");
    EXPECT_EQ(ContentTypeOf(items_[0]->Kind), "image/jpeg");
    EXPECT_EQ(items_[0]->Group, 1);
    EXPECT_EQ(items_[4]->CacheFile, dir_ / "M0000001.GIF");
    // 850000122 seconds after 1970 is 7 December 1996, 23:08:42.
    EXPECT_DOUBLE_EQ(items_[0]->Date, *EncodeDate({1996, 12, 7, 23, 8, 42, 0}));
    // The origin names the index and the data record, whose file name lies at D+33.
    const CacheOrigin& origin = *items_[0]->Origin;
    EXPECT_EQ(origin.Format, CacheFormat::NavigatorDatabase);
    EXPECT_EQ(origin.IndexFile, dir_ / "FAT.DB");
    EXPECT_EQ(origin.Url, "http://www.site2.example/page/2.jpg");
    EXPECT_EQ(origin.StoredFileName, "M0000002.JPG");
    EXPECT_EQ(Fixture("fat4k_five_entries.db").substr(origin.RecordOffset + 33, 12),
              origin.StoredFileName);
}

// What the directory listing tells decides, as a stat would: a link is followed, a
// directory, a dangling link or a missing file drop the entry, and of two names that
// differ only in case the one spelled as the index spells it wins.
TEST_F(ReadCacheIndexTest, OnlyRegularFilesThroughLinksGiveItems) {
    WriteFile(dir_ / "FAT.DB", Fixture("fat4k_five_entries.db"));
    WriteFile(dir_ / "M0000000.HTM", "x");
    WriteFile(dir_ / "m0000000.htm", "x");
    std::filesystem::create_symlink("M0000000.HTM", dir_ / "M0000002.JPG");
    std::filesystem::create_directory(dir_ / "M0000001.GIF");
    std::filesystem::create_symlink(dir_ / "gone", dir_ / "M0000003.TXT");
    ReadCacheIndex(dir_ / "FAT.DB", items_);
    EXPECT_EQ(Urls(), (std::vector<std::string>{"http://www.site2.example:80/page/2.jpg",
                                                "http://www.site0.example:80/page/0.htm"}));
    ASSERT_EQ(items_.size(), 2u);
    EXPECT_EQ(items_[0]->CacheFile, dir_ / "M0000002.JPG");
    EXPECT_EQ(items_[1]->CacheFile, dir_ / "m0000000.htm");
}

TEST_F(ReadCacheIndexTest, ReadsAFileOfFourKilobytePagesWhoseSecondBlockIsEmpty) {
    WriteFile(dir_ / "fat.db", Fixture("fat4k_bucket1_only.db"));
    WriteFile(dir_ / "M0000001.GIF", "x");
    ReadCacheIndex(dir_ / "fat.db", items_);
    EXPECT_EQ(Urls(), (std::vector<std::string>{"http://www.site1.example:80/page/1.gif"}));
}

TEST_F(ReadCacheIndexTest, NamesLeadingOutOfTheCacheDirectoryDropTheEntry) {
    testing::TestRecord outside;
    outside.Url = "http://a.example/outside";
    outside.FileName = "../secret";
    testing::TestRecord nested;
    nested.Url = "http://a.example/nested";
    nested.FileName = "14/Cache3260";
    const std::string cache = dir_ / "cache/";
    WriteFile(dir_ / "secret", "x");
    WriteFile(cache + "14/CACHE3260", "x");
    WriteFile(cache + "index.db",
              testing::HashHeaderPage(4096) +
                  testing::DataPage(4096, {{testing::KeyOf(outside), testing::DataOf(outside)},
                                           {testing::KeyOf(nested), testing::DataOf(nested)}}) +
                  testing::DataPage(4096, {}));
    ReadCacheIndex(cache + "index.db", items_);
    ASSERT_EQ(Urls(), (std::vector<std::string>{"http://a.example:80/nested"}));
    EXPECT_EQ(items_[0]->CacheFile, cache + "14/CACHE3260");
}

TEST_F(ReadCacheIndexTest, LinksOutOfTheCacheDirectoryDropTheEntry) {
    std::vector<testing::TestRecord> records(3);
    records[0].Url = "http://a.example/shadow";
    records[0].FileName = "shadow.txt";
    records[1].Url = "http://a.example/linked-folder";
    records[1].FileName = "15/cache1";
    records[2].Url = "http://a.example/inside";
    records[2].FileName = "16/cache2";
    const std::string cache = dir_ / "cache/";
    WriteFile(dir_ / "outside/cache1", "secret");
    WriteFile(cache + "14/cache2", "kept");
    std::filesystem::create_symlink(dir_ / "outside/cache1", cache + "shadow.txt");
    std::filesystem::create_directory_symlink(dir_ / "outside", cache + "15");
    std::filesystem::create_directory_symlink("14", cache + "16");
    std::vector<testing::TestPair> pairs;
    for (const auto& record : records) {
        pairs.push_back({testing::KeyOf(record), testing::DataOf(record)});
    }
    WriteFile(cache + "index.db", testing::HashHeaderPage(4096) + testing::DataPage(4096, pairs) +
                                      testing::DataPage(4096, {}));
    ReadCacheIndex(cache + "index.db", items_);
    ASSERT_EQ(Urls(), (std::vector<std::string>{"http://a.example:80/inside"}));
    EXPECT_EQ(ReadAndClose(OpenCachedFile(*items_[0])), "kept");
}

TEST_F(ReadCacheIndexTest, ReadsTheTextIndexWithItsEdgeCases) {
    WriteFile(dir_ / "FAT", Fixture("fat_text_mcom_crlf"));
    for (const char* name :
         {"M0X3QSO1.GIF", "M0X3QSO2.HTM", "M0X3QSO3.HTM", "M0X3QSO4.HTM", "M0X3QSO5.HTM"}) {
        WriteFile(dir_ / name, "x");
    }
    ReadCacheIndex(dir_ / "FAT", items_);
    EXPECT_EQ(Urls(), (std::vector<std::string>{"http://www.example.com:80/logo.gif",
                                                "http://www.example.com:8080/",
                                                "http://www.example.com:80/a page.html"}));
    ASSERT_EQ(items_.size(), 3u);
    EXPECT_EQ(items_[1]->Group, 0);
    // A time that is no number counts as 0, which is older than 5000 days.
    EXPECT_DOUBLE_EQ(items_[2]->Date, Now() - 5000);
    // The origin gives the line's fields as it holds them and the line's number.
    const CacheOrigin& origin = *items_[1]->Origin;
    EXPECT_EQ(origin.Format, CacheFormat::NavigatorText);
    EXPECT_EQ(origin.IndexFile, dir_ / "FAT");
    EXPECT_EQ(origin.RecordOffset, 3u);
    EXPECT_EQ(origin.Url, "http://WWW.Example.com:8080");
    EXPECT_EQ(origin.StoredFileName, "C:\\NETSCAPE\\CACHE\\M0X3QSO2.HTM");
    EXPECT_EQ(origin.ContentType, "Text/HTML");
    EXPECT_EQ(origin.LastAccess, 850000100);
}

TEST_F(ReadCacheIndexTest, TheFirstLineDecidesTheFormat) {
    WriteFile(dir_ / "cache0001", "x");
    WriteFile(dir_ / "cache0002", "x");
    WriteFile(dir_ / "index", Fixture("fat_text_mosaic_lf"));
    ReadCacheIndex(dir_ / "index", items_);
    EXPECT_EQ(Urls(), (std::vector<std::string>{"http://ftp.example.org:80/pub/file.zip",
                                                "http://www.example.org:80/"}));
}

TEST_F(ReadCacheIndexTest, SaysWhenTheFileIsNoCacheIndex) {
    for (const std::string& bytes :
         {std::string(), std::string(9000, 'x'), std::string("<html>")}) {
        WriteFile(dir_ / "notes.txt", bytes);
        const CacheIndexRead read = ReadCacheIndex(dir_ / "notes.txt", items_);
        EXPECT_TRUE(read.Opened);
        EXPECT_EQ(read.Error.code(), StatusCode::Malformed) << bytes.size();
        EXPECT_EQ(read.Error.message(),
                  dir_ / "notes.txt" + " is not a Netscape cache index (FAT or FAT.DB).");
    }
    // An empty text index is a cache without items.
    WriteFile(dir_ / "FAT", "MCOM-CACHE-FILE\n");
    EXPECT_TRUE(ReadCacheIndex(dir_ / "FAT", items_).Error.ok());
    EXPECT_TRUE(items_.empty());
}

TEST(IsTextIndex, ComparesTheFirstTenCharactersInUpperCase) {
    EXPECT_TRUE(IsTextIndex("mcom-cache-file-allocation-table-format-1\n"));
    EXPECT_TRUE(IsTextIndex("Mcom-Cache"));
    EXPECT_TRUE(IsTextIndex("MOSAIC-COMMUNICATIONS\r\n"));
    EXPECT_FALSE(IsTextIndex("MCOM-CACH\nE"));
    EXPECT_FALSE(IsTextIndex(std::string("\x00\x06\x15\x61", 4)));
    EXPECT_FALSE(IsTextIndex(""));
}

TEST(SecondsToDate, KeepsDatesBetween5000DaysAgoAndNow) {
    const double now = *EncodeDate({2000, 1, 1, 12, 0, 0, 0});
    SetNowForTesting(now);
    EXPECT_DOUBLE_EQ(SecondsToDate(0), now - 5000);
    EXPECT_DOUBLE_EQ(SecondsToDate(-2000000000), now - 5000);
    EXPECT_DOUBLE_EQ(SecondsToDate(2000000000), now);
    EXPECT_DOUBLE_EQ(SecondsToDate(946728000), now);  // exactly now
    EXPECT_DOUBLE_EQ(SecondsToDate(946684800), now - 0.5);
    SetNowForTesting(std::nullopt);
}

}  // namespace
}  // namespace arkivo
