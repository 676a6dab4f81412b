// The committed sample caches (samples/, written by tools/make_samples) read
// through the real readers: both hold the same twenty resources of the sample
// site, with their domains, content types, fetch dates and cached files intact.
// db_dump185 (libdb1-compat) and msiecfexport (libmsiecf-utils) confirm the
// entries each index holds; their checks are skipped when the tools are missing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ie_test_helpers.h"
#include "model/content_types.h"
#include "offline_index/image_size.h"
#include "platform/byte_reader.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "readers/ie_cache_reader.h"
#include "readers/netscape_index.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ItemUrl;
using testing::ReadFile;
using testing::Seconds;
using testing::TempDir;

const std::string Samples = testing::TestDataDir() + "../../samples/";
const std::string NetscapeIndex = Samples + "netscape/FAT.DB";
const std::string IeCache = Samples + "ie/";

// The day the samples were taken; every fetch lies in the eight weeks before it.
const double SampleDay = *EncodeDate({2026, 12, 1, 0, 0, 0, 0});

struct ExpectedItem {
    const char* url;  // as the browser fetched it
    const char* contentType;
    DateParts fetched;
};

const std::vector<ExpectedItem> SiteItems = {
    {"http://www.tulip-garden.example/", "text/html", {2026, 10, 10, 19, 12}},
    {"http://www.tulip-garden.example/menu.html", "text/html", {2026, 10, 10, 19, 12}},
    {"http://www.tulip-garden.example/welcome.html", "text/html", {2026, 10, 10, 19, 12}},
    {"http://www.tulip-garden.example/images/logo.gif", "image/gif", {2026, 10, 10, 19, 12}},
    {"http://www.tulip-garden.example/images/bullet.gif", "image/gif", {2026, 10, 10, 19, 12}},
    {"http://www.tulip-garden.example/bulbs.html", "text/html", {2026, 10, 10, 19, 14}},
    {"http://www.tulip-garden.example/images/tulips.jpg", "image/jpeg", {2026, 11, 21, 20, 31}},
    {"http://www.tulip-garden.example/gallery.html", "text/html", {2026, 11, 21, 20, 31}},
    {"http://www.tulip-garden.example/sounds/birdsong.wav", "audio/x-wav", {2026, 11, 21, 20, 33}},
    {"http://news.harbor-town.example/index.html", "text/html", {2026, 10, 29, 8, 41}},
    {"http://news.harbor-town.example/images/masthead.gif", "image/gif", {2026, 10, 29, 8, 41}},
    {"http://news.harbor-town.example/stories/ferry.html", "text/html", {2026, 10, 29, 8, 44}},
    {"http://news.harbor-town.example/media/foghorn.wav", "audio/x-wav", {2026, 10, 29, 8, 45}},
    {"http://news.harbor-town.example/latest.html", "text/html", {2026, 11, 29, 7, 55}},
    {"http://news.harbor-town.example/stories/regatta.html", "text/html", {2026, 11, 29, 7, 55}},
    {"http://news.harbor-town.example/images/boats.jpg", "image/jpeg", {2026, 11, 29, 7, 55}},
    {"http://news.harbor-town.example/media/harbor.avi", "video/x-msvideo", {2026, 11, 29, 7, 57}},
    {"http://files.old-mirror.example/pub/", "text/html", {2026, 11, 7, 21, 3}},
    {"http://files.old-mirror.example/pub/README.TXT", "text/plain", {2026, 11, 7, 21, 4}},
    {"http://files.old-mirror.example/pub/garden/planting.zip",
     "application/zip",
     {2026, 11, 14, 13, 26}},
};

// What each reader should make of the site: item URL -> "type date".
std::map<std::string, std::string> ExpectedListing() {
    std::map<std::string, std::string> listing;
    for (const ExpectedItem& item : SiteItems) {
        listing[ItemUrl(item.url)] =
            std::string(item.contentType) + " " + Seconds(*EncodeDate(item.fetched));
    }
    return listing;
}

std::map<std::string, std::string> ListingOf(const TCacheItemList& items) {
    std::map<std::string, std::string> listing;
    for (const auto& item : items) {
        EXPECT_TRUE(
            listing.emplace(item->Url, ContentTypeOf(item->Kind) + " " + Seconds(item->Date))
                .second)
            << "reported twice: " << item->Url;
    }
    return listing;
}

const TCacheItem* Find(const TCacheItemList& items, const std::string& fetchedUrl) {
    const std::string url = ItemUrl(fetchedUrl);
    for (const auto& item : items) {
        if (item->Url == url) {
            return item.get();
        }
    }
    return nullptr;
}

// The form type of a RIFF file ("WAVE", "AVI ") whose size field fits the file.
std::string RiffForm(const std::string& bytes) {
    const ByteReader reader(bytes);
    if (!bytes.starts_with("RIFF") || reader.U32LE(4) != bytes.size() - 8) {
        return "";
    }
    return bytes.substr(8, 4);
}

// The CRC-32 of ZIP, bit by bit.
std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1) != 0 ? 0xEDB88320u : 0);
        }
    }
    return ~crc;
}

// Whether the cached file's bytes are of the kind its content type names.
bool LooksLike(const std::string& contentType, const std::string& bytes) {
    if (contentType == "text/html") {
        return bytes.starts_with("<HTML>") && bytes.find("</HTML>") != std::string::npos;
    }
    if (contentType == "image/gif") {
        return bytes.starts_with("GIF89a") && bytes.ends_with(";");
    }
    if (contentType == "image/jpeg") {
        return bytes.starts_with("\xFF\xD8\xFF\xE0") &&
               bytes.substr(6, 5) == std::string("JFIF\0", 5) && bytes.ends_with("\xFF\xD9");
    }
    if (contentType == "audio/x-wav") {
        return RiffForm(bytes) == "WAVE";
    }
    if (contentType == "video/x-msvideo") {
        return RiffForm(bytes) == "AVI ";
    }
    if (contentType == "application/zip") {
        return bytes.starts_with("PK\x03\x04") && bytes.find("PK\x05\x06") != std::string::npos;
    }
    return contentType == "text/plain" && !bytes.empty();
}

class SamplesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadMimeTypes(dir_.Path());
        SetNowForTesting(SampleDay);
    }
    void TearDown() override { SetNowForTesting(std::nullopt); }

    TCacheItemList ReadNetscape() {
        TCacheItemList items;
        const CacheIndexRead read = ReadCacheIndex(NetscapeIndex, items);
        EXPECT_TRUE(read.Opened) << NetscapeIndex;
        EXPECT_TRUE(read.Error.ok()) << read.Error.message();
        return items;
    }

    TCacheItemList ReadIe() {
        TCacheItemList items;
        Status status;
        EXPECT_TRUE(ReadUrlCache(IeCache, items, &status)) << status.message();
        return items;
    }

    TempDir dir_;
};

TEST_F(SamplesTest, NetscapeSampleHoldsEverySiteResourceWithItsTypeAndDate) {
    EXPECT_EQ(ListingOf(ReadNetscape()), ExpectedListing());
}

TEST_F(SamplesTest, IeSampleHoldsEverySiteResourceWithItsTypeAndDate) {
    EXPECT_EQ(ListingOf(ReadIe()), ExpectedListing());
}

TEST_F(SamplesTest, ItemsFallIntoThreeDomains) {
    const TCacheItemList both[] = {ReadNetscape(), ReadIe()};
    for (const TCacheItemList& items : both) {
        std::map<std::string, int> domains;
        for (const auto& item : items) {
            ++domains[item->Domain];
        }
        EXPECT_EQ(domains, (std::map<std::string, int>{{"files.old-mirror.example", 3},
                                                       {"news.harbor-town.example", 8},
                                                       {"www.tulip-garden.example", 9}}));
    }
}

TEST_F(SamplesTest, ContentKindsCoverPagesPicturesSoundVideoAndArchive) {
    std::map<std::string, int> kinds;
    std::map<int, int> groups;
    for (const auto& item : ReadNetscape()) {
        ++kinds[ContentTypeOf(item->Kind)];
        ++groups[item->Group];
    }
    EXPECT_EQ(kinds, (std::map<std::string, int>{{"application/zip", 1},
                                                 {"audio/x-wav", 2},
                                                 {"image/gif", 3},
                                                 {"image/jpeg", 2},
                                                 {"text/html", 10},
                                                 {"text/plain", 1},
                                                 {"video/x-msvideo", 1}}));
    EXPECT_EQ(groups, (std::map<int, int>{{TextGroup, 11}, {MediaGroup, 8}, {OtherGroup, 1}}));
}

TEST_F(SamplesTest, FetchDatesSpreadOverSevenWeeksBeforeTheSampleDay) {
    const TCacheItemList both[] = {ReadNetscape(), ReadIe()};
    for (const TCacheItemList& items : both) {
        std::set<int> days;
        int lastTwoWeeks = 0;
        for (const auto& item : items) {
            EXPECT_LT(item->Date, SampleDay) << item->Url;
            EXPECT_GT(item->Date, SampleDay - 56) << item->Url;
            days.insert(static_cast<int>(item->Date));
            lastTwoWeeks += item->Date > SampleDay - 14 ? 1 : 0;
        }
        EXPECT_EQ(days.size(), 6u);
        EXPECT_GE(*days.rbegin() - *days.begin(), 49);
        // An age filter of two weeks splits the items.
        EXPECT_EQ(lastTwoWeeks, 7);
    }
}

TEST_F(SamplesTest, CachedFilesHoldTheBytesTheirTypesName) {
    const TCacheItemList netscape = ReadNetscape();
    const TCacheItemList ie = ReadIe();
    for (const ExpectedItem& expected : SiteItems) {
        const TCacheItem* fromNetscape = Find(netscape, expected.url);
        const TCacheItem* fromIe = Find(ie, expected.url);
        ASSERT_NE(fromNetscape, nullptr) << expected.url;
        ASSERT_NE(fromIe, nullptr) << expected.url;
        const std::string bytes = ReadFile(fromNetscape->CacheFile);
        EXPECT_TRUE(LooksLike(expected.contentType, bytes)) << fromNetscape->CacheFile;
        EXPECT_EQ(ReadFile(fromIe->CacheFile), bytes) << fromIe->CacheFile;
    }
}

TEST_F(SamplesTest, PicturesHaveTheSizesThePagesGive) {
    const TCacheItemList items = ReadNetscape();
    const std::map<std::string, ImageSize> sizes = {
        {"http://www.tulip-garden.example/images/logo.gif", {120, 32}},
        {"http://www.tulip-garden.example/images/bullet.gif", {12, 12}},
        {"http://www.tulip-garden.example/images/tulips.jpg", {96, 64}},
        {"http://news.harbor-town.example/images/masthead.gif", {140, 24}},
        {"http://news.harbor-town.example/images/boats.jpg", {96, 64}},
    };
    for (const auto& [url, size] : sizes) {
        const TCacheItem* item = Find(items, url);
        ASSERT_NE(item, nullptr) << url;
        EXPECT_EQ(ReadImageSize(CacheDirOf(*item), item->CacheFile), size) << url;
    }
}

TEST_F(SamplesTest, ZipMembersAreStoredWithTheirCrc) {
    const TCacheItemList items = ReadNetscape();
    const TCacheItem* item = Find(items, "http://files.old-mirror.example/pub/garden/planting.zip");
    ASSERT_NE(item, nullptr);
    const std::string zip = ReadFile(item->CacheFile);
    const ByteReader reader(zip);
    std::vector<std::string> names;
    std::size_t at = 0;
    while (reader.U32LE(at) == 0x04034B50u) {
        EXPECT_EQ(reader.U16LE(at + 8), 0) << "not stored";
        const std::uint32_t size = reader.U32LE(at + 18).value_or(0);
        const std::uint16_t nameSize = reader.U16LE(at + 26).value_or(0);
        const std::size_t data = at + 30 + nameSize;
        ASSERT_LE(data + size, zip.size());
        EXPECT_EQ(reader.U32LE(at + 22), size);
        EXPECT_EQ(reader.U32LE(at + 14), Crc32(std::string_view(zip).substr(data, size)));
        names.push_back(zip.substr(at + 30, nameSize));
        at = data + size;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"PLANTING.TXT", "CALENDAR.TXT"}));
}

TEST_F(SamplesTest, PagesHoldAFramesetABaseTagAMetaRefreshAndALinkToAnUncachedPage) {
    const TCacheItemList items = ReadNetscape();
    const auto page = [&](const char* url) {
        const TCacheItem* item = Find(items, url);
        return item == nullptr ? std::string() : ReadFile(item->CacheFile);
    };
    EXPECT_NE(page("http://www.tulip-garden.example/").find("<FRAMESET"), std::string::npos);
    EXPECT_NE(page("http://news.harbor-town.example/index.html")
                  .find("<BASE HREF=\"http://news.harbor-town.example/stories/\">"),
              std::string::npos);
    EXPECT_NE(page("http://news.harbor-town.example/latest.html")
                  .find("CONTENT=\"3;URL=http://news.harbor-town.example/stories/regatta.html\""),
              std::string::npos);
    EXPECT_NE(page("http://www.tulip-garden.example/welcome.html").find("HREF=\"guestbook.html\""),
              std::string::npos);
    EXPECT_EQ(Find(items, "http://www.tulip-garden.example/guestbook.html"), nullptr);
}

// db_dump185 -p: a header up to "HEADER=END", then a key line and a data line for
// each pair, bytes outside the printable range as \xx.
TEST_F(SamplesTest, DbDump185ListsTheSameEntries) {
    if (!FileExists("/usr/bin/db_dump185")) {
        GTEST_SKIP() << "db_dump185 (libdb1-compat) is not installed; skipped";
    }
    const testing::CommandResult dump =
        testing::RunCommand("/usr/bin/db_dump185 -p '" + NetscapeIndex + "'");
    ASSERT_EQ(dump.Status, 0);
    std::vector<std::string> lines;
    std::istringstream stream(dump.Output);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    const auto header = std::find(lines.begin(), lines.end(), "HEADER=END");
    const auto end = std::find(header, lines.end(), "DATA=END");
    ASSERT_NE(header, lines.end());
    const std::vector<std::string> pairLines(header + 1, end);
    ASSERT_EQ(pairLines.size() % 2, 0u);
    std::set<std::string> urls;
    int bookkeeping = 0;
    for (std::size_t key = 0; key < pairLines.size(); key += 2) {
        if (pairLines[key].starts_with("INT_")) {
            ++bookkeeping;
            continue;
        }
        for (const ExpectedItem& item : SiteItems) {
            // A key is the lengths as escapes, then the URL and its NUL.
            if (pairLines[key].find(std::string(item.url) + "\\00") != std::string::npos) {
                urls.insert(item.url);
            }
        }
    }
    EXPECT_EQ(pairLines.size() / 2, SiteItems.size() + 3);
    EXPECT_EQ(bookkeeping, 3);
    EXPECT_EQ(urls.size(), SiteItems.size());
    EXPECT_EQ(ReadNetscape().size(), SiteItems.size());
}

TEST_F(SamplesTest, MsiecfexportListsTheSameUrlRecords) {
    ARKIVO_REQUIRE_MSIECFEXPORT();
    const auto records = testing::MsiecfExport(IeCache + "index.dat");
    ASSERT_TRUE(records);
    const auto urls = testing::OfType(*records, "URL");
    EXPECT_EQ(urls.size(), records->size()) << "only URL records";
    const TCacheItemList items = ReadIe();
    std::set<std::string> locations;
    for (const testing::ExportedRecord& record : urls) {
        locations.insert(record.Location);
        const TCacheItem* item = Find(items, record.Location);
        ASSERT_NE(item, nullptr) << record.Location;
        EXPECT_TRUE(item->CacheFile.ends_with("/" + record.FileName)) << item->CacheFile;
        EXPECT_EQ(item->CacheKey, record.Location);
    }
    std::set<std::string> expected;
    for (const ExpectedItem& item : SiteItems) {
        expected.insert(item.url);
    }
    EXPECT_EQ(locations, expected);
}

}  // namespace
}  // namespace arkivo
