#include "readers/ie_index_file.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "ie_test_helpers.h"
#include "platform/file_system.h"
#include "readers/ie_url_hash.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;

// Fixtures msiecfexport can read, whether sound or not.
const std::vector<std::string> ReadableFixtures = {"typical", "large-entry", "chained-hash",
                                                   "unsafe-file-names", "unsafe-directory-name"};

IeIndex Parse(std::string_view bytes) {
    IeIndex index;
    EXPECT_TRUE(ParseIndexFile(bytes, index).ok());
    return index;
}

std::set<std::pair<std::uint32_t, std::string>> Entries(const IeIndex& index) {
    std::set<std::pair<std::uint32_t, std::string>> entries;
    for (const IeUrlRecord& url : index.Urls) {
        entries.emplace(url.Offset, url.Location);
    }
    return entries;
}

TEST(IeIndexFile, RealFilesAreSoundAndListWhatMsiecfexportLists) {
    ARKIVO_REQUIRE_SHARED_DATA();
    ARKIVO_REQUIRE_MSIECFEXPORT();
    for (const std::string& name : RealIndexFiles) {
        SCOPED_TRACE(name);
        const IeIndex index = Parse(ReadFile(RealIndex(name)));
        EXPECT_TRUE(index.IsSound()) << index.Damage.front();
        const auto exported = MsiecfExport(RealIndex(name));
        ASSERT_TRUE(exported);
        EXPECT_EQ(AsExported(index), OfType(*exported, "URL"));
    }
}

TEST(IeIndexFile, FixturesListWhatMsiecfexportLists) {
    ARKIVO_REQUIRE_MSIECFEXPORT();
    for (const std::string& name : ReadableFixtures) {
        SCOPED_TRACE(name);
        const IeIndex index = Parse(ReadFile(IeFixture(name) + "index.dat"));
        EXPECT_EQ(index.IsSound(), name != "unsafe-directory-name");
        const auto exported = MsiecfExport(IeFixture(name) + "index.dat");
        ASSERT_TRUE(exported);
        EXPECT_EQ(AsExported(index), OfType(*exported, "URL"));
        EXPECT_EQ(LeaksAsExported(index), OfType(*exported, "LEAK"));
    }
}

TEST(IeIndexFile, ReadsRecordFieldsAndSkipsRedirectsLeaksAndDeletedSlots) {
    const IeIndex index = Parse(ReadFile(IeFixture("typical") + "index.dat"));
    ASSERT_TRUE(index.IsSound());
    ASSERT_EQ(index.Directories.size(), 4u);
    EXPECT_EQ(index.Directories[1].Name, "EFGH5678");
    EXPECT_EQ(index.Urls.size(), 13u);
    for (const IeUrlRecord& url : index.Urls) {
        EXPECT_NE(url.Location, "http://example.com/") << "a redirect was listed";
        EXPECT_NE(url.Location, "http://www.example.com/leaked.html") << "a LEAK was listed";
        EXPECT_NE(url.Location, "http://stale.example.com/old.html")
            << "a deleted slot was followed";
        if (url.Location == "http://www.example.com/plain.txt") {
            // Stored without a trailing NUL: nothing is cut.
            EXPECT_EQ(url.HeaderText, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n");
        }
        if (url.Location == "http://static.example.net/sticky.png") {
            EXPECT_EQ(url.SlotFlags, ie_index::SlotUrlInGroup);
            EXPECT_NE(url.GroupOffset, 0u);
            EXPECT_EQ(url.EntryFlags & ie_index::StickyEntry, ie_index::StickyEntry);
        }
        if (url.Location == "http://www.example.com/index.html") {
            EXPECT_EQ(url.FileName, "index[1].htm");
            EXPECT_EQ(url.DirectoryIndex, 0);
            EXPECT_TRUE(url.HeaderText.ends_with("~U:tester\r\n")) << "one trailing NUL stripped";
        }
    }
}

TEST(IeIndexFile, ReadsTheTimesAndTheHitCountOfUrlRecords) {
    const std::string bytes = ReadFile(IeFixture("typical") + "index.dat");
    const IeIndex original = Parse(bytes);
    const IeUrlRecord* home = FindRecord(original, "http://www.example.com/index.html");
    ASSERT_NE(home, nullptr);
    std::string patched = WithU32(bytes, home->Offset + ie_index::UrlExpireTime, 0x12345678);
    patched = WithU32(patched, home->Offset + ie_index::UrlHitCount, 7);
    const IeIndex index = Parse(patched);
    const IeUrlRecord* url = FindRecord(index, "http://www.example.com/index.html");
    ASSERT_NE(url, nullptr);
    EXPECT_EQ(url->LastModifiedTime, 130701074840000000u);  // 6 March 2015, 09:24:44
    EXPECT_EQ(url->LastAccessTime, 130849743200000000u);    // 25 August 2015, 11:05:20
    EXPECT_EQ(url->ExpireTime, 0x12345678u);
    EXPECT_EQ(url->HitCount, 7u);
}

TEST(IeIndexFile, ReadsTheLeakChain) {
    const std::string bytes = ReadFile(IeFixture("typical") + "index.dat");
    const IeIndex index = Parse(bytes);
    ASSERT_EQ(index.LeakChain, std::vector<std::uint32_t>{0x6e80});
    ASSERT_EQ(index.Leaks.size(), 1u);
    EXPECT_EQ(index.Leaks[0].Location, "http://www.example.com/leaked.html");
    EXPECT_EQ(index.Leaks[0].FileName, "leaked[1].htm");
    EXPECT_EQ(index.Leaks[0].DirectoryIndex, 0);
    EXPECT_EQ(index.Leaks[0].FileSize, 33u);
    EXPECT_EQ(index.Leaks[0].Blocks, 2u);

    // Filler where a LEAK record keeps no URL fields is no damage: a record whose
    // file cannot be named stays in the chain but is not offered for removal, and a
    // group offset outside the blocks reads as none.
    const auto patched = [&](std::uint32_t field, std::uint32_t value) {
        std::string changed = bytes;
        for (int i = 0; i < 4; ++i) {
            changed[0x6e80 + field + i] = static_cast<char>(value >> (8 * i));
        }
        return Parse(changed);
    };
    for (const auto& [field, value] : {std::pair{ie_index::UrlFileNameOffset, 0xDEADBEEFu},
                                       std::pair{ie_index::UrlDirectoryIndex, 0xDEADBEEFu}}) {
        const IeIndex leak = patched(field, value);
        EXPECT_TRUE(leak.IsSound());
        EXPECT_EQ(leak.LeakChain.size(), 1u);
        EXPECT_TRUE(leak.Leaks.empty());
    }
    // The fixture's group data block spans 0x4000 to 0x5000, its hash table follows.
    for (const std::uint32_t group : {0xDEADBEEFu, 0x100u, 0x5010u, 0x6e80u}) {
        const IeIndex leak = patched(ie_index::UrlGroupOffset, group);
        ASSERT_EQ(leak.Leaks.size(), 1u);
        EXPECT_EQ(leak.Leaks[0].GroupOffset, 0u);
    }
}

// A delete lowers the disk usage of an entry's group entry, so a group offset that
// names no whole group entry inside a group data block marks the record damaged: it
// is still listed, but never changed.
TEST(IeIndexFile, AGroupOffsetMustNameAGroupEntry) {
    const std::string bytes = ReadFile(IeFixture("typical") + "index.dat");
    const IeIndex index = Parse(bytes);
    const IeUrlRecord& url = index.Urls.front();
    const auto damage = [&](std::uint32_t group) {
        const IeIndex patched = Parse(WithU32(bytes, url.Offset + ie_index::UrlGroupOffset, group));
        EXPECT_TRUE(patched.IsSound());
        EXPECT_EQ(Entries(patched), Entries(index));
        return patched.Urls.front().Damage;
    };
    // The group data block spans 0x4000 to 0x5000; the hash table follows.
    for (const std::uint32_t group : {0x4008u, 0x4028u, 0x5000u - 32}) {
        EXPECT_EQ(damage(group), "") << std::hex << group;
    }
    const std::uint32_t size = static_cast<std::uint32_t>(bytes.size());
    for (const std::uint32_t group :
         {0x34u, 0x1E0u, 0x250u, 0x4000u, 0x5000u - 31, 0x5010u, url.Offset,
          index.LeakChain.front(), size - 256, size - 16, 0xDEADBEEFu}) {
        EXPECT_NE(damage(group), "") << std::hex << group;
    }
}

TEST(IeIndexFile, AcceptsWineSignatureAndRejectsOthers) {
    const std::string wine = ReadFile(IeFixture("wine-signature") + "index.dat");
    EXPECT_EQ(Parse(wine).Urls.size(), 2u);
    EXPECT_TRUE(Parse(wine).IsSound());

    const std::string typical = ReadFile(IeFixture("typical") + "index.dat");
    const std::vector<std::string> signatures = {"Client UrlCache MMF Ver 4.7",
                                                 "Client UrlCache MMF Ver 5.3",
                                                 "WINE urlcache Ver 0.2", std::string(28, '\0')};
    for (const std::string& signature : signatures) {
        std::string bytes = typical;
        bytes.replace(0, signature.size(), signature);
        IeIndex index;
        EXPECT_EQ(ParseIndexFile(bytes, index).code(), StatusCode::Malformed) << signature;
        EXPECT_TRUE(index.Urls.empty());
    }
    IeIndex index;
    EXPECT_EQ(ParseIndexFile("", index).code(), StatusCode::Malformed);
}

TEST(IeIndexFile, HashIgnoresOneTrailingSlashAndChoosesTheBucket) {
    EXPECT_EQ(UrlCacheHash("http://example.com/"), UrlCacheHash("http://example.com"));
    EXPECT_NE(UrlCacheHash("http://example.com//"), UrlCacheHash("http://example.com"));
    // The chained fixture filed ten entries in one bucket across two tables.
    const IeIndex index = Parse(ReadFile(IeFixture("chained-hash") + "index.dat"));
    ASSERT_EQ(index.Urls.size(), 10u);
    std::set<std::uint32_t> buckets;
    for (const IeUrlRecord& url : index.Urls) {
        buckets.insert(UrlCacheHash(url.Location) & 63);
    }
    EXPECT_EQ(buckets.size(), 1u);
    EXPECT_TRUE(index.IsSound());
}

// Every cut of a file gives a subset of its entries, never a crash, and is damage.
TEST(IeIndexFile, EveryTruncationGivesFewerEntries) {
    // Steps prime to the 128-byte block size cut every field at some point.
    std::vector<std::pair<std::string, std::size_t>> files = {
        {IeFixture("typical") + "index.dat", 7}, {IeFixture("chained-hash") + "index.dat", 11}};
    if (!SharedDataDir().empty()) {
        files.emplace_back(RealIndex("plaso-Content.IE5-index.dat"), 13);
    }
    for (const auto& [path, step] : files) {
        SCOPED_TRACE(path);
        const std::string bytes = ReadFile(path);
        const auto all = Entries(Parse(bytes));
        for (std::size_t size = 0; size < bytes.size(); size += step) {
            IeIndex index;
            const Status status = ParseIndexFile(std::string_view(bytes).substr(0, size), index);
            if (!status.ok()) {
                EXPECT_LT(size, 28u + 1) << "only a cut signature may be refused";
                continue;
            }
            EXPECT_FALSE(index.IsSound()) << size;
            const auto entries = Entries(index);
            EXPECT_TRUE(std::includes(all.begin(), all.end(), entries.begin(), entries.end()))
                << size;
        }
    }
}

// Random damage never crashes, hangs or invents entries: the one stale record behind a
// deleted slot is the only record a damaged slot could newly reach.
TEST(IeIndexFile, RandomCorruptionNeverCrashes) {
    const std::string original = ReadFile(IeFixture("typical") + "index.dat");
    const std::size_t liveCount = Parse(original).Urls.size();
    std::mt19937 random(20240607);
    std::size_t damaged = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = original;
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < flips; ++i) {
            // Half the damage lands in the header and bitmap, half in the records.
            const std::size_t at =
                random() % 2 == 0 ? random() % ie_index::BlocksOffset : random() % bytes.size();
            bytes[at] = static_cast<char>(random());
        }
        IeIndex index;
        if (!ParseIndexFile(bytes, index).ok()) {
            continue;
        }
        damaged += index.IsSound() ? 0 : 1;
        EXPECT_LE(index.Urls.size(), liveCount + 1);
        for (const IeUrlRecord& url : index.Urls) {
            EXPECT_LT(url.Offset, bytes.size());
        }
    }
    EXPECT_GT(damaged, 1000u) << "the checks should notice most random damage";
}

}  // namespace
}  // namespace arkivo
