#include "readers/ie_cache_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>
#include <map>
#include <set>

#include "ie_test_helpers.h"
#include "model/content_types.h"
#include "model/file_utils.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/path.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;

double Date(int year, int month, int day, int hour, int minute, int second) {
    return *EncodeDate({year, month, day, hour, minute, second, 0});
}

std::uint64_t FileTimeOf(double date) {
    return static_cast<std::uint64_t>((date + 109205.0) * 86400.0 + 0.5) * 10000000ULL;
}

TEST(FileTimeToDate, ConvertsThroughDosTime) {
    struct Case {
        std::uint64_t fileTime;
        double date;
    } cases[] = {
        {0, 0.0},
        {FileTimeOf(Date(2015, 8, 25, 11, 5, 20)), Date(2015, 8, 25, 11, 5, 20)},
        // DOS keeps even seconds; fractions of a second go too.
        {FileTimeOf(Date(2015, 8, 25, 11, 5, 21)) + 9999999, Date(2015, 8, 25, 11, 5, 20)},
        {FileTimeOf(Date(1980, 1, 1, 0, 0, 0)), Date(1980, 1, 1, 0, 0, 0)},
        {FileTimeOf(Date(1979, 12, 31, 23, 59, 58)), 0.0},
        {FileTimeOf(Date(2043, 12, 31, 23, 59, 58)), Date(2043, 12, 31, 23, 59, 58)},
        // From 2044 the date word's top bit makes the packed value negative.
        {FileTimeOf(Date(2044, 1, 1, 0, 0, 0)), 0.0},
        {~std::uint64_t{0}, 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(FileTimeToDate(c.fileTime), c.date) << c.fileTime;
    }
}

TEST(ContentTypeFromHeader, TakesTheRestOfTheContentTypeLine) {
    struct Case {
        std::string header;
        std::string type;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Type: text/css\r\n\r\n", "text/css"},
        {"HTTP/1.1 200 OK\r\nCONTENT-TYPE: image/gif\r\n", "image/gif"},
        {"HTTP/1.1 200 OK\nContent-Type: Text/HTML; Charset=UTF-8\n", "text/html; charset=utf-8"},
        {"HTTP/1.1 200 OK\r\nContent-Type: image/png", "image/png"},
        {"HTTP/1.1 200 OK\r\nContent-Type:image/png\r\n", "text/html"},
        {"HTTP/1.1 200 OK\r\nContent-Type:  image/png\r\n", " image/png"},
        {"HTTP/1.1 200 OK\r\nContent-Type: \r\n", "text/html"},
        {"HTTP/1.1 200 OK\r\nServer: test\r\n", "text/html"},
        {"", "text/html"},
        // The text ends at a NUL, as the copied header does.
        {std::string("HTTP/1.1 200 OK\r\n\0Content-Type: image/png\r\n", 44), "text/html"},
        // The line is cut at 255 characters, field name included.
        {"Content-Type: " + std::string(300, 'a'), std::string(241, 'a')},
        {"X-Content-Type: image/jpeg\r\nContent-Type: text/plain\r\n", "image/jpeg"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ContentTypeFromHeader(c.header), c.type) << c.header;
    }
}

TEST(ContentTypeValue, TakesTheFieldAsTheHeaderHoldsIt) {
    struct Case {
        std::string header;
        std::string type;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Type: Text/HTML; Charset=UTF-8\r\n\r\n",
         "Text/HTML; Charset=UTF-8"},
        {"HTTP/1.1 200 OK\nCONTENT-TYPE:image/gif \n", "image/gif"},
        {"HTTP/1.1 200 OK\r\nContent-Type:\t image/png\r\n", "image/png"},
        {"HTTP/1.1 200 OK\r\nServer: test\r\n\r\n", ""},
        {"HTTP/1.1 200 OK\r\nX-Content-Type: image/jpeg\r\n", ""},
        {"HTTP/1.1 200 OK\r\nContent-Types: image/jpeg\r\n", ""},
        // The header ends at its empty line or its first NUL.
        {"HTTP/1.1 200 OK\r\n\r\nContent-Type: image/png\r\n", ""},
        {std::string("HTTP/1.1 200 OK\r\n\0Content-Type: image/png\r\n", 44), ""},
        {"Content-Type: " + std::string(300, 'a'), std::string(300, 'a')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ContentTypeValue(c.header), c.type) << c.header;
    }
}

class ReadUrlCacheTest : public ::testing::Test {
  protected:
    void SetUp() override { LoadMimeTypes(mimeDir_.Path()); }

    // The items read from cache, by CacheKey.
    std::map<std::string, const TCacheItem*> Read(const std::string& cache) {
        items_.clear();
        Status status;
        ReadUrlCache(cache, items_, &status);
        EXPECT_TRUE(status.ok()) << status.message();
        std::map<std::string, const TCacheItem*> byKey;
        for (const auto& item : items_) {
            EXPECT_TRUE(byKey.emplace(item->CacheKey, item.get()).second) << item->CacheKey;
        }
        return byKey;
    }

    TempDir mimeDir_;
    TCacheItemList items_;
};

TEST_F(ReadUrlCacheTest, BuildsItemsFromTheTypicalFixture) {
    const auto items = Read(IeFixture("typical"));
    struct Expected {
        std::string key, url, type;
        int group;
        double date;
        std::string file;
    } expected[] = {
        {"http://www.example.com/index.html", "http://www.example.com:80/index.html", "text/html",
         0, Date(2015, 8, 25, 11, 5, 22), "ABCD1234/index[1].htm"},
        {"http://WWW.Example.COM:8080", "http://www.example.com:8080/", "image/gif", 1,
         Date(2015, 8, 25, 11, 5, 22), "efgh5678/Logo[1].GIF"},
        {"https://secure.example.org/account/login.html",
         "http://secure.example.org:80/account/login.html", "text/html; charset=utf-8", 0,
         Date(2015, 8, 25, 11, 5, 22), "IJKL9012/login[1].htm"},
        {"http://www.example.com/notype.css", "http://www.example.com:80/notype.css", "text/html",
         0, Date(2015, 8, 25, 11, 5, 22), "MNOP3456/notype[1].css"},
        {"http://www.example.com/nospace.js", "http://www.example.com:80/nospace.js", "text/html",
         0, Date(2015, 8, 25, 11, 5, 22), "ABCD1234/nospace[1].js"},
        {"http://www.example.com/zero-times.html", "http://www.example.com:80/zero-times.html",
         "text/html", 0, 0.0, "efgh5678/zero-times[1].htm"},
        {"http://static.example.net/sticky.png", "http://static.example.net:80/sticky.png",
         "image/png", 1, Date(2015, 8, 25, 11, 5, 22), "IJKL9012/sticky[1].png"},
        // The later of the two times wins, here the last sync.
        {"http://www.example.com/later-sync.html", "http://www.example.com:80/later-sync.html",
         "text/html", 0, Date(2016, 1, 2, 3, 4, 6), "ABCD1234/later-sync[1].htm"},
        {"http://www.example.com/plain.txt", "http://www.example.com:80/plain.txt", "text/plain", 0,
         Date(2015, 8, 25, 11, 5, 22), "efgh5678/plain[1].txt"},
    };
    // Left out: the ftp entry and the cookie (host NONE), the missing file, the entry
    // without a file, the redirects, the LEAK record and the deleted entry.
    EXPECT_EQ(items.size(), std::size(expected));
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.key);
        const auto found = items.find(e.key);
        ASSERT_NE(found, items.end());
        const TCacheItem& item = *found->second;
        EXPECT_EQ(item.Url, e.url);
        EXPECT_EQ(ContentTypeOf(item.Kind), e.type);
        EXPECT_EQ(item.Group, e.group);
        EXPECT_DOUBLE_EQ(item.Date, e.date);
        EXPECT_EQ(item.CacheFile, IeFixture("typical") + e.file);
        EXPECT_TRUE(item.Title.empty() && item.ArchiveName.empty());
    }
}

TEST_F(ReadUrlCacheTest, AcceptsTheIndexFileAndTheWineSignature) {
    EXPECT_EQ(Read(IeFixture("typical") + "index.dat").size(), 9u);
    EXPECT_EQ(Read(IeFixture("wine-signature")).size(), 2u);
}

// An entry bigger than WinINet's 8192-byte buffer does not end the enumeration.
TEST_F(ReadUrlCacheTest, ReadsEveryEntryAfterALargeOne) {
    Read(IeFixture("large-entry"));
    ASSERT_EQ(items_.size(), 6u);
    EXPECT_TRUE(items_.front()->CacheKey.starts_with("http://big.example.com/huge"));
    EXPECT_EQ(ContentTypeOf(items_.front()->Kind), "image/png");
}

TEST_F(ReadUrlCacheTest, NeverFollowsUnsafeNames) {
    for (const std::string fixture : {"unsafe-file-names", "unsafe-directory-name"}) {
        const auto items = Read(IeFixture(fixture));
        ASSERT_EQ(items.size(), 1u) << fixture;
        EXPECT_EQ(items.begin()->first, "http://unsafe.example.com/ok.html");
    }
}

TEST_F(ReadUrlCacheTest, DoesNotFollowLinksOutOfTheCache) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    const std::string outside = temp / "outside/";
    WriteFile(outside + "index[1].htm", "<p>outside</p>");
    WriteFile(outside + "login[1].htm", "<p>outside</p>");
    // A cache directory that is a link to elsewhere, and a file linking out.
    std::filesystem::remove_all(cache + "ABCD1234");
    std::filesystem::create_directory_symlink(outside, cache + "ABCD1234");
    std::filesystem::remove(cache + "IJKL9012/login[1].htm");
    std::filesystem::create_symlink(outside + "login[1].htm", cache + "IJKL9012/login[1].htm");
    // A link that stays inside the cache is followed.
    std::filesystem::remove(cache + "MNOP3456/notype[1].css");
    std::filesystem::create_symlink(cache + "efgh5678/plain[1].txt",
                                    cache + "MNOP3456/notype[1].css");

    const auto items = Read(cache);
    EXPECT_FALSE(items.contains("http://www.example.com/index.html"));
    EXPECT_FALSE(items.contains("http://www.example.com/later-sync.html"));
    EXPECT_FALSE(items.contains("https://secure.example.org/account/login.html"));
    EXPECT_TRUE(items.contains("http://www.example.com/notype.css"));
    EXPECT_EQ(items.size(), 5u);
}

// Only an entry whose file is a regular file (through a link inside the cache) gives
// an item: not a directory, a link to one, a dangling link or a file in a directory
// that is gone.
TEST_F(ReadUrlCacheTest, DropsEntriesWhoseFileIsNoRegularFile) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    std::filesystem::remove(cache + "ABCD1234/index[1].htm");
    std::filesystem::create_directory(cache + "ABCD1234/index[1].htm");
    std::filesystem::remove(cache + "IJKL9012/login[1].htm");
    std::filesystem::create_directory_symlink(cache + "ABCD1234", cache + "IJKL9012/login[1].htm");
    std::filesystem::remove(cache + "efgh5678/plain[1].txt");
    std::filesystem::create_symlink(cache + "efgh5678/gone.txt", cache + "efgh5678/plain[1].txt");
    std::filesystem::remove_all(cache + "MNOP3456");

    const auto items = Read(cache);
    std::set<std::string> keys;
    for (const auto& [key, item] : items) {
        keys.insert(key);
    }
    EXPECT_EQ(keys,
              (std::set<std::string>{
                  "http://WWW.Example.COM:8080", "http://www.example.com/nospace.js",
                  "http://www.example.com/zero-times.html", "http://static.example.net/sticky.png",
                  "http://www.example.com/later-sync.html"}));
}

TEST_F(ReadUrlCacheTest, ReportsCachesThatCannotBeRead) {
    TempDir temp;
    WriteFile(temp / "broken/index.dat", "not an index");
    const struct {
        std::string cache;
        StatusCode code;
    } cases[] = {
        {temp / "absent", StatusCode::NotFound},
        {temp.Path(), StatusCode::NotFound},
        {temp / "broken", StatusCode::Malformed},
        {temp / "broken/index.dat", StatusCode::Malformed},
    };
    for (const auto& c : cases) {
        TCacheItemList items;
        Status status;
        EXPECT_FALSE(ReadUrlCache(c.cache, items, &status)) << c.cache;
        EXPECT_EQ(status.code(), c.code) << c.cache;
        EXPECT_FALSE(status.message().empty());
    }
}

// The real Content.IE5 index, with an empty file created for each record naming one:
// every URL record msiecfexport lists becomes an item unless its host is rejected.
TEST_F(ReadUrlCacheTest, RealContentIndexGivesItsUrlRecords) {
    ARKIVO_REQUIRE_SHARED_DATA();
    ARKIVO_REQUIRE_MSIECFEXPORT();
    TempDir temp;
    const std::string index = RealIndex("plaso-Content.IE5-index.dat");
    const std::string dirs[] = {"ENG3X4ZR", "5ZBG4UOD", "5F9C7HL9", "F4MAMNDH"};
    WriteFile(temp / "index.dat", ReadFile(index));
    const auto exported = MsiecfExport(index);
    ASSERT_TRUE(exported);
    std::set<std::string> expected;
    for (const ExportedRecord& record : OfType(*exported, "URL")) {
        ASSERT_GE(record.DirectoryIndex, 0);
        ASSERT_LT(record.DirectoryIndex, 4);
        WriteFile(temp / (dirs[record.DirectoryIndex] + "/" + record.FileName), "");
        if (!record.Location.starts_with("ftp:")) {
            expected.insert(record.Location);
        }
    }
    const auto items = Read(temp.Path());
    std::set<std::string> keys;
    for (const auto& [key, item] : items) {
        keys.insert(key);
        EXPECT_TRUE(item->Url.starts_with("http://"));
        EXPECT_GT(item->Date, Date(2015, 8, 25, 0, 0, 0));
    }
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(keys.size(), 21u);
}

std::uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second) {
    return static_cast<std::uint32_t>((year - 1980) << 9 | month << 5 | day) |
           static_cast<std::uint32_t>(hour << 11 | minute << 5 | second / 2) << 16;
}

// Every item carries what its URL record said, times in UTC whatever the local
// time zone; a DOS date/time that is 0, all ones or no date leaves its time unset.
TEST_F(ReadUrlCacheTest, ItemsKeepWhatTheirUrlRecordSaid) {
    ScopedEnv zone("TZ", "America/New_York");
    ::tzset();
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    std::string bytes = ReadFile(cache + "index.dat");
    IeIndex index;
    ASSERT_TRUE(ParseIndexFile(bytes, index).ok());
    const IeUrlRecord* home = FindRecord(index, "http://www.example.com/index.html");
    const IeUrlRecord* zero = FindRecord(index, "http://www.example.com/zero-times.html");
    const IeUrlRecord* sticky = FindRecord(index, "http://static.example.net/sticky.png");
    ASSERT_TRUE(home && zero && sticky);
    bytes =
        WithU32(bytes, home->Offset + ie_index::UrlExpireTime, DosDateTime(2016, 3, 11, 20, 10, 0));
    bytes = WithU32(bytes, home->Offset + ie_index::UrlHitCount, 7);
    bytes = WithU32(bytes, zero->Offset + ie_index::UrlExpireTime, 0xFFFFFFFF);
    bytes =
        WithU32(bytes, sticky->Offset + ie_index::UrlExpireTime, DosDateTime(2016, 2, 30, 0, 0, 0));
    bytes = WithU32(bytes, sticky->Offset + ie_index::UrlLastSyncTime,
                    DosDateTime(2015, 8, 25, 24, 0, 0));
    WriteFile(cache + "index.dat", bytes);

    const auto items = Read(cache);
    ASSERT_TRUE(items.contains("http://www.example.com/index.html"));
    const CacheOrigin& origin = *items.at("http://www.example.com/index.html")->Origin;
    EXPECT_EQ(origin.Format, CacheFormat::InternetExplorer);
    EXPECT_EQ(origin.IndexFile, cache + "index.dat");
    EXPECT_EQ(origin.RecordOffset, home->Offset);
    EXPECT_EQ(origin.Url, "http://www.example.com/index.html");
    EXPECT_EQ(origin.StoredFileName, "index[1].htm");
    EXPECT_EQ(origin.CacheSubdirectory, "ABCD1234");
    EXPECT_EQ(origin.ResponseHeader,
              "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 42\r\n\r\n"
              "~U:tester\r\n");
    EXPECT_EQ(origin.ContentType, "text/html");
    EXPECT_EQ(origin.LastModified, 1425633884);  // 6 March 2015, 09:24:44 UTC
    EXPECT_EQ(origin.LastAccess, 1440500720);    // 25 August 2015, 11:05:20 UTC
    EXPECT_EQ(origin.Expires, 1457727000);       // 11 March 2016, 20:10:00 UTC
    EXPECT_EQ(origin.LastChecked, 1440500722);   // 25 August 2015, 11:05:22 UTC
    EXPECT_EQ(origin.StoredLength, 33u);
    EXPECT_EQ(origin.HitCount, 7u);
    EXPECT_EQ(origin.EntryFlags, 0x41u);

    const CacheOrigin& zeroTimes = *items.at("http://www.example.com/zero-times.html")->Origin;
    EXPECT_EQ(zeroTimes.CacheSubdirectory, "EFGH5678");
    EXPECT_FALSE(zeroTimes.LastModified || zeroTimes.LastAccess || zeroTimes.Expires ||
                 zeroTimes.LastChecked);
    const CacheOrigin& invalid = *items.at("http://static.example.net/sticky.png")->Origin;
    EXPECT_FALSE(invalid.Expires || invalid.LastChecked);
    EXPECT_EQ(invalid.EntryFlags, 0x45u);
    // No Content-Type field: none is made up.
    EXPECT_EQ(items.at("http://www.example.com/notype.css")->Origin->ContentType, "");
}

// Checked against msiecfexport's listing of the record at 24576 (its primary time
// is the last access, its secondary time the last-modified time).
TEST_F(ReadUrlCacheTest, RealContentIndexGivesTheOriginMsiecfexportShows) {
    ARKIVO_REQUIRE_SHARED_DATA();
    TempDir temp;
    WriteFile(temp / "index.dat", ReadFile(RealIndex("plaso-Content.IE5-index.dat")));
    WriteFile(temp / "ENG3X4ZR/4f1880[1].ico", "");
    const auto items = Read(temp.Path());
    ASSERT_EQ(items.size(), 1u);
    const CacheOrigin& origin = *items.begin()->second->Origin;
    EXPECT_EQ(origin.Url, "http://static-hp-neu.s-msn.com/sc/54/4f1880.ico");
    EXPECT_EQ(origin.RecordOffset, 24576u);
    EXPECT_EQ(origin.CacheSubdirectory, "ENG3X4ZR");
    EXPECT_EQ(origin.LastAccess, 1440500720);    // Aug 25, 2015 11:05:20.262
    EXPECT_EQ(origin.LastModified, 1425633884);  // Mar 06, 2015 09:24:44
    EXPECT_EQ(origin.Expires, 1457727000);       // Mar 11, 2016 20:10:00
    EXPECT_EQ(origin.LastChecked, 1440500722);   // Aug 25, 2015 11:05:22
    EXPECT_EQ(origin.ContentType, "image/x-icon");
    EXPECT_EQ(origin.StoredLength, 4286u);
    EXPECT_EQ(origin.HitCount, 1u);
    EXPECT_EQ(origin.EntryFlags, 0x45u);
}

TEST_F(ReadUrlCacheTest, HistoryIndexesGiveNoItems) {
    ARKIVO_REQUIRE_SHARED_DATA();
    for (const std::string& name : RealIndexFiles) {
        if (name.find("History") == std::string::npos && name.find("MSHist") == std::string::npos) {
            continue;
        }
        TempDir temp;
        WriteFile(temp / "index.dat", ReadFile(RealIndex(name)));
        EXPECT_TRUE(Read(temp.Path()).empty()) << name;
    }
}

}  // namespace
}  // namespace arkivo
