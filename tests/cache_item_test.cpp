#include "model/cache_item.h"

#include <gtest/gtest.h>

#include "platform/byte_reader.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TCacheItem MakeItem(std::string url, std::string title, std::string name) {
    TCacheItem item;
    item.Kind = 3;
    item.Group = 1;
    item.Date = 36526.5;
    item.Url = std::move(url);
    item.Title = std::move(title);
    item.ArchiveName = std::move(name);
    return item;
}

std::string Saved(const TCacheItem& item) {
    TMemoryStream stream;
    item.SaveToStream(stream);
    return stream.Bytes();
}

std::vector<TCacheItem> LoadAll(const std::string& path) {
    TSimpleBufferFileStream stream(path, FileMode::Read);
    std::vector<TCacheItem> items;
    for (;;) {
        TCacheItem item;
        if (item.LoadFromStream(stream)) {
            return items;
        }
        items.push_back(item);
    }
}

TEST(CacheItemRecord, MatchesTheStoredLayoutByteForByte) {
    std::string expected;
    PutU32LE(expected, 3);
    PutU32LE(expected, 1);
    expected += std::string("\x00\x00\x00\x00\xD0\xD5\xE1\x40", 8);  // 36526.5
    PutU32LE(expected, 16);
    PutU32LE(expected, 3);
    PutU32LE(expected, 6);
    expected += std::string("http://h:80/a.b\0Hi\0a.htm\0", 25);

    EXPECT_EQ(Saved(MakeItem("http://h:80/a.b", "Hi", "a.htm")), expected);
}

TEST(CacheItemRecord, EmptyTitleAndNameTakeOneByteEach) {
    const std::string url = "http://host:80/";
    const std::string bytes = Saved(MakeItem(url, "", ""));
    ASSERT_EQ(bytes.size(), 28 + (url.size() + 1) + 2);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string("\0\0", 2));
}

TEST(CacheItemRecord, NWholeRecordsReadBackAsNItemsThenTheEnd) {
    TempDir dir;
    std::string file;
    for (int i = 0; i < 5; ++i) {
        file += Saved(MakeItem("http://h:80/" + std::to_string(i), "t" + std::to_string(i), "n"));
    }
    WriteFile(dir / "archive.dat", file);

    const auto items = LoadAll(dir / "archive.dat");
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[4].Url, "http://h:80/4");
    EXPECT_EQ(items[4].Title, "t4");
    EXPECT_EQ(items[4].Kind, 3);
    EXPECT_EQ(items[4].Group, 1);
    EXPECT_EQ(items[4].Date, 36526.5);
}

TEST(CacheItemRecord, FewerThanSixteenBytesIsTheEndAtOnce) {
    TempDir dir;
    for (std::size_t size : {0u, 1u, 15u}) {
        WriteFile(dir / "short.dat", std::string(size, 'x'));
        EXPECT_TRUE(LoadAll(dir / "short.dat").empty()) << size;
    }
}

TEST(CacheItemRecord, RecordsAcrossTheReadAheadBoundaryReadCorrectly) {
    // Records of 28 + 100 + 1 + 1 bytes; many of them straddle a 32768-byte boundary.
    TempDir dir;
    std::string file;
    const int count = 1000;
    for (int i = 0; i < count; ++i) {
        std::string url = "http://h:80/" + std::to_string(i);
        url.resize(99, 'x');
        file += Saved(MakeItem(url, "", ""));
    }
    WriteFile(dir / "archive.dat", file);

    const auto items = LoadAll(dir / "archive.dat");
    ASSERT_EQ(items.size(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(items[i].Url.substr(0, items[i].Url.find('x')),
                  "http://h:80/" + std::to_string(i));
        EXPECT_EQ(items[i].Url.size(), 99u);
    }
}

TEST(CacheItemRecord, StringsLongerThanTheReadAheadBufferStayInStep) {
    TempDir dir;
    const std::string longTitle(70000, 'T');
    WriteFile(dir / "archive.dat", Saved(MakeItem("http://h:80/1", longTitle, "one.htm")) +
                                       Saved(MakeItem("http://h:80/2", "", "two.htm")));

    const auto items = LoadAll(dir / "archive.dat");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Title, longTitle);
    EXPECT_EQ(items[0].ArchiveName, "one.htm");
    EXPECT_EQ(items[1].Url, "http://h:80/2");
}

TEST(CacheItemRecord, EveryTruncationReadsWithinItsBuffers) {
    TempDir dir;
    const std::string whole = Saved(MakeItem("http://h:80/first", "First", "first.htm")) +
                              Saved(MakeItem("http://h:80/second", "Second", "second.htm"));
    for (std::size_t size = 0; size <= whole.size(); ++size) {
        WriteFile(dir / "cut.dat", whole.substr(0, size));
        const auto items = LoadAll(dir / "cut.dat");
        ASSERT_LE(items.size(), 2u);
        for (const auto& item : items) {
            EXPECT_EQ(item.Url.find('\0'), std::string::npos);
            EXPECT_LE(item.Url.size(), 18u);
            EXPECT_LE(item.Title.size(), 6u);
        }
        if (size == whole.size()) {
            EXPECT_EQ(items.size(), 2u);
        }
    }
}

TEST(CacheItemRecord, AbsurdLengthsReadOnlyWhatIsThere) {
    TempDir dir;
    std::string bytes;
    PutU32LE(bytes, 1);
    PutU32LE(bytes, 0);
    PutF64LE(bytes, 1.0);
    PutU32LE(bytes, 0xFFFFFFFF);
    PutU32LE(bytes, 0);
    PutU32LE(bytes, 0x7FFFFFFF);
    bytes += std::string("http://h:80/\0garbage", 20);
    WriteFile(dir / "absurd.dat", bytes);

    const auto items = LoadAll(dir / "absurd.dat");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].Url, "http://h:80/");
    EXPECT_EQ(items[0].Title, "");
}

TEST(CacheItemRecord, AStoredNulEndsTheString) {
    TempDir dir;
    std::string bytes;
    PutU32LE(bytes, 1);
    PutU32LE(bytes, 0);
    PutF64LE(bytes, 1.0);
    PutU32LE(bytes, 6);
    PutU32LE(bytes, 1);
    PutU32LE(bytes, 1);
    bytes += std::string("ab\0cd\0\0\0", 8);
    WriteFile(dir / "nul.dat", bytes);

    const auto items = LoadAll(dir / "nul.dat");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].Url, "ab");
}

TEST(CacheItemCopy, CopiesAllButTheCacheKey) {
    TCacheItem source = MakeItem("http://a:80/", "T", "n.htm");
    source.Domain = "a";
    source.CacheFile = "/cache/x";
    source.CacheKey = "key";
    TCacheItem target;
    target.CacheKey = "mine";
    target.AssignFrom(source);
    EXPECT_EQ(target.Url, source.Url);
    EXPECT_EQ(target.Title, "T");
    EXPECT_EQ(target.ArchiveName, "n.htm");
    EXPECT_EQ(target.Domain, "a");
    EXPECT_EQ(target.CacheFile, "/cache/x");
    EXPECT_EQ(target.Date, source.Date);
    EXPECT_EQ(target.Kind, 3);
    EXPECT_EQ(target.CacheKey, "mine");
}

}  // namespace
}  // namespace arkivo
