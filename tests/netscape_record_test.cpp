#include "readers/netscape_record.h"

#include <gtest/gtest.h>

#include "netscape_test_records.h"

namespace arkivo {
namespace {

using testing::DataOf;
using testing::KeyOf;
using testing::TestRecord;

TEST(ParseCacheEntry, ReadsUrlFileTypeAndTime) {
    TestRecord record;
    record.FileName = "M0X3QSO1.GIF";
    record.ContentType = "Image/GIF";
    record.Time = -5;
    const auto entry = ParseCacheEntry(KeyOf(record), DataOf(record));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Url, record.Url);
    EXPECT_EQ(entry->FileName, "m0x3qso1.gif");
    EXPECT_EQ(entry->ContentType, "image/gif");
    EXPECT_EQ(entry->Time, -5);
}

TEST(ParseCacheEntry, SkipsTheSecurityStringsOfVersion3Records) {
    TestRecord record;
    record.ContentType = "image/jpeg";
    record.Cipher = "RC4-40";
    record.Certificate = std::string(700, '\x30');
    record.PostHeaders = "Content-Length: 3\r\n";
    const auto entry = ParseCacheEntry(KeyOf(record), DataOf(record));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->ContentType, "image/jpeg");
}

TEST(ParseCacheEntry, OtherVersionsKeepThePostHeadersRightAfterTheFixedPart) {
    TestRecord record;
    record.Version = 4;
    record.ContentType = "text/plain";
    const auto entry = ParseCacheEntry(KeyOf(record), DataOf(record));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->ContentType, "text/plain");
}

// Navigator 4.5 and later store the security information as one block of any
// length; the type follows it wherever it ends.
TEST(ParseCacheEntry, Version5RecordsSkipASecurityBlockOfAnyLength) {
    for (const std::size_t length : {0, 12, 1, 3000}) {
        TestRecord record;
        record.Version = 5;
        record.ContentType = "image/gif";
        record.PostHeaders = "Content-Type: x\r\n";
        record.SecurityInfo = std::string(length, '\x07');
        const auto entry = ParseCacheEntry(KeyOf(record), DataOf(record));
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->ContentType, "image/gif") << length;
    }
}

// A block length that leads past the record, or to strings that fail their checks,
// falls back to where a 12-byte block puts the type.
TEST(ParseCacheEntry, AnImplausibleVersion5BlockLengthFallsBackToTheFixedPlace) {
    TestRecord record;
    record.Version = 5;
    record.ContentType = "text/plain";
    record.SecurityInfo = std::string(12, '\xFF');  // read as lengths: far too long
    std::string data = DataOf(record);
    const std::size_t lengthAt = 42 + record.FileName.size() + 1;
    for (const std::uint32_t length : {0xFFFFFFF0u, 200u, 2u}) {
        std::string patched = data.substr(0, lengthAt);
        PutU32LE(patched, length);
        patched += data.substr(lengthAt + 4);
        const auto entry = ParseCacheEntry(KeyOf(record), patched);
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->ContentType, "text/plain") << length;
    }
}

TEST(ParseCacheEntry, BookkeepingPairsAreNoEntries) {
    for (const char* key :
         {"INT_DiskCacheSize", "INT_DiskCacheNumber", "INT_ExternalCacheNameString"}) {
        EXPECT_FALSE(ParseCacheEntry(key, std::string(4, '\0'))) << key;
    }
}

struct LimitCase {
    const char* name;
    std::size_t urlLength, fileNameLength, typeLength;
    bool urlKept, fileNameKept, typeKept;
};

class ParseCacheEntryLimits : public ::testing::TestWithParam<LimitCase> {};

// Lengths count the NUL: a string of length - 1 characters.
TEST_P(ParseCacheEntryLimits, LengthsAtTheirLimitGiveEmptyStrings) {
    const LimitCase& c = GetParam();
    TestRecord record;
    record.Url = "http://a.example/" + std::string(c.urlLength - 17, 'u');
    record.FileName = std::string(c.fileNameLength, 'f');
    record.ContentType = "text/" + std::string(c.typeLength - 5, 't');
    const auto entry = ParseCacheEntry(KeyOf(record), DataOf(record));
    ASSERT_TRUE(entry);
    EXPECT_EQ(!entry->Url.empty(), c.urlKept);
    EXPECT_EQ(!entry->FileName.empty(), c.fileNameKept);
    EXPECT_EQ(!entry->ContentType.empty(), c.typeKept);
    if (c.urlKept) {
        EXPECT_EQ(entry->Url, record.Url.substr(0, 255));
    }
    // The origin keeps the key's URL whole, whatever its length.
    EXPECT_EQ(entry->Origin->Url, record.Url);
    if (c.typeKept) {
        EXPECT_EQ(entry->ContentType, record.ContentType.substr(0, 50));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseCacheEntryLimits,
                         ::testing::Values(LimitCase{"AllBelow", 510, 48, 98, true, true, true},
                                           LimitCase{"UrlAtLimit", 511, 10, 10, false, true, true},
                                           LimitCase{"LongUrl", 3000, 10, 10, false, true, true},
                                           LimitCase{"FileNameAtLimit", 40, 49, 10, true, false,
                                                     true},
                                           LimitCase{"TypeAtLimit", 40, 10, 99, true, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ParseCacheEntry, CutKeysAndRecordsGiveWholeStringsOrNone) {
    TestRecord record;
    const std::string key = KeyOf(record);
    const std::string data = DataOf(record);
    for (std::size_t length = 0; length <= data.size(); ++length) {
        const auto entry = ParseCacheEntry(key, data.substr(0, length));
        ASSERT_TRUE(entry);
        EXPECT_TRUE(entry->ContentType.empty() || entry->ContentType == "text/html");
        EXPECT_TRUE(entry->FileName.empty() || entry->FileName == "m0001.htm") << length;
    }
    for (std::size_t length = 0; length <= key.size(); ++length) {
        const auto entry = ParseCacheEntry(key.substr(0, length), data);
        ASSERT_TRUE(entry);
        EXPECT_TRUE(entry->Url.empty() || entry->Url == record.Url) << length;
        EXPECT_TRUE(entry->Origin->Url.empty() || entry->Origin->Url == record.Url) << length;
    }
}

// The origin keeps what the record says as it says it, times unchanged.
TEST(ParseCacheEntry, TheOriginHoldsTheRecordAsStored) {
    for (const std::uint32_t version : {3u, 5u}) {
        TestRecord record;
        record.Version = version;
        record.FileName = "M0X3QSO1.GIF";
        record.ContentType = "Image/GIF";
        record.ContentEncoding = "x-gzip";
        record.Charset = "ISO-8859-1";
        record.LastModified = -86400;
        record.Time = 850000000;
        record.Expires = 850086400;
        record.ContentLength = 4286;
        record.Cipher = version == 3 ? "RC4-40" : "";
        record.Certificate = version == 3 ? std::string(700, '\x30') : "";
        record.SecurityInfo = std::string(version == 5 ? 300 : 12, '\x07');
        const auto entry = ParseCacheEntry(KeyOf(record), DataOf(record));
        ASSERT_TRUE(entry);
        const CacheOrigin& origin = *entry->Origin;
        EXPECT_EQ(origin.Format, CacheFormat::NavigatorDatabase);
        EXPECT_EQ(origin.FormatVersion, version);
        EXPECT_EQ(origin.StoredFileName, "M0X3QSO1.GIF");
        EXPECT_EQ(origin.ContentType, "Image/GIF");
        EXPECT_EQ(origin.ContentEncoding, "x-gzip");
        EXPECT_EQ(origin.Charset, "ISO-8859-1");
        EXPECT_EQ(origin.LastModified, -86400);
        EXPECT_EQ(origin.LastAccess, 850000000);
        EXPECT_EQ(origin.Expires, 850086400);
        EXPECT_EQ(origin.StoredLength, 4286u);
        EXPECT_FALSE(origin.LastChecked);
        EXPECT_FALSE(origin.HitCount);
    }
    // 0 leaves the last-modified time and the expiry unset.
    const auto entry = ParseCacheEntry(KeyOf(TestRecord{}), DataOf(TestRecord{}));
    ASSERT_TRUE(entry);
    EXPECT_FALSE(entry->Origin->LastModified);
    EXPECT_FALSE(entry->Origin->Expires);
}

// A content type whose length fails its check leaves no place to find the
// encoding and the charset at.
TEST(ParseCacheEntry, EncodingAndCharsetFollowOnlyAUsableType) {
    TestRecord record;
    record.ContentType = "text/" + std::string(94, 't');  // length 100: at the limit
    record.ContentEncoding = "gzip";
    record.Charset = "utf-8";
    const auto entry = ParseCacheEntry(KeyOf(record), DataOf(record));
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->Origin->ContentType.empty());
    EXPECT_TRUE(entry->Origin->ContentEncoding.empty());
    EXPECT_TRUE(entry->Origin->Charset.empty());
}

// The item reads the URL through the low 16 bits of its length, as before; the
// origin takes the whole length, and nothing beyond the key.
TEST(ParseCacheEntry, TheItemUrlKeepsTheShortLengthRule) {
    TestRecord record;
    record.Url = "http://a.example/page";
    std::string key = KeyOf(record);
    key[6] = 1;  // the length field now says 65536 more
    const auto entry = ParseCacheEntry(key, DataOf(record));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Url, record.Url);
    EXPECT_TRUE(entry->Origin->Url.empty());
}

}  // namespace
}  // namespace arkivo
