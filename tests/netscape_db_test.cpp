#include "readers/netscape_db_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "netscape_test_records.h"
#include "readers/netscape_record.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::DataPage;
using testing::HashHeaderPage;
using Entries = std::multiset<std::string>;  // "url file type time"

std::string Describe(const NetscapeEntry& entry) {
    return entry.Url + " " + entry.FileName + " " + entry.ContentType + " " +
           std::to_string(entry.Time);
}

std::vector<NetscapeEntry> EntriesOf(std::string_view file, int* pagesRead = nullptr) {
    std::vector<NetscapeEntry> entries;
    const auto counter = [pagesRead] {
        if (pagesRead != nullptr) {
            ++*pagesRead;
        }
    };
    for (const DbPair& pair : ReadDbPairs(file, counter)) {
        if (auto entry = ParseCacheEntry(pair.Key, pair.Data)) {
            entries.push_back(*entry);
        }
    }
    return entries;
}

Entries SetOf(const std::vector<NetscapeEntry>& entries) {
    Entries set;
    for (const auto& entry : entries) {
        set.insert(Describe(entry));
    }
    return set;
}

std::string Fixture(const std::string& name) {
    return testing::ReadFile(testing::TestDataDir() + "/netscape/" + name);
}

// The fixture's .expected lines: URL, file name, content type, time, TAB-separated.
Entries ExpectedEntries(const std::string& name) {
    Entries expected;
    std::istringstream lines(Fixture(name + ".expected"));
    std::string url, file, type, time;
    while (std::getline(lines, url, '\t') && std::getline(lines, file, '\t') &&
           std::getline(lines, type, '\t') && std::getline(lines, time)) {
        std::transform(file.begin(), file.end(), file.begin(), ::tolower);
        expected.insert(url + " " + file + " " + type + " " + time);
    }
    return expected;
}

const char* const Fixtures[] = {"fat4k_five_entries",     "fat16k_five_entries",
                                "fat4k_bucket1_only",     "fat4k_deleted_pairs",
                                "fat4k_big_pair_and_ssl", "fat4k_stored_after_bookkeeping"};

class DbFixture : public ::testing::TestWithParam<const char*> {};

TEST_P(DbFixture, GivesExactlyTheLiveEntries) {
    const std::string name = GetParam();
    EXPECT_EQ(SetOf(EntriesOf(Fixture(name + ".db"))), ExpectedEntries(name));
}

TEST_P(DbFixture, EveryTruncationGivesFewerEntriesAndNoOthers) {
    const std::string name = GetParam();
    const std::string file = Fixture(name + ".db");
    const Entries full = ExpectedEntries(name);
    for (std::size_t length = 0; length < file.size(); length += 97) {
        for (const auto& entry : EntriesOf(std::string_view(file).substr(0, length))) {
            ASSERT_TRUE(full.contains(Describe(entry)))
                << "length " << length << ": " << Describe(entry);
        }
    }
}

// A big pair's data starts where its first part lies.
TEST_P(DbFixture, EachPairSaysWhereItsDataStarts) {
    const std::string file = Fixture(std::string(GetParam()) + ".db");
    for (const DbPair& pair : ReadDbPairs(file, {})) {
        ASSERT_GE(pair.Data.size(), 4u);
        EXPECT_GT(pair.DataOffset, 0u);
        EXPECT_EQ(file.substr(pair.DataOffset, 4), pair.Data.substr(0, 4)) << pair.DataOffset;
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DbFixture, ::testing::ValuesIn(Fixtures),
                         [](const auto& info) { return std::string(info.param); });

TEST(ReadDbPairs, ReportsPagesInFileOrderAndNewestPairFirst) {
    // Entries 0 and 2 hash to bucket 0 (page 1), 1, 3 and 4 to bucket 1 (page 2),
    // stored in number order.
    std::vector<std::string> urls;
    for (const auto& entry : EntriesOf(Fixture("fat4k_five_entries.db"))) {
        urls.push_back(entry.Url.substr(entry.Url.rfind('/') + 1));
    }
    EXPECT_EQ(urls, (std::vector<std::string>{"2.jpg", "0.htm", "4.wav", "3.txt", "1.gif"}));
}

TEST(ReadDbPairs, CallsBackOncePerPageRead) {
    int pages = 0;
    EntriesOf(Fixture("fat4k_five_entries.db"), &pages);
    EXPECT_EQ(pages, 2);  // the two bucket pages; header and bitmap pages are not read
}

TEST(ReadDbPairs, WithoutAHeaderReadsEveryPageByItsOwnTable) {
    std::string file = Fixture("fat4k_five_entries.db");
    std::fill(file.begin(), file.begin() + 4096, '\0');
    EXPECT_EQ(SetOf(EntriesOf(file)), ExpectedEntries("fat4k_five_entries"));
}

TEST(GuessPageSize, SecondBlockDecides) {
    EXPECT_EQ(GuessPageSize(std::string(4096, 'x')), 16384u);
    EXPECT_EQ(GuessPageSize(std::string(8192, '\0')), 16384u);
    std::string file(8192, '\0');
    file[4096 + 50] = 1;
    EXPECT_EQ(GuessPageSize(file), 4096u);
    file[4096 + 50] = 0;
    file[4096 + 51] = 1;
    EXPECT_EQ(GuessPageSize(file), 16384u);
}

testing::TestPair EntryPair(int number) {
    testing::TestRecord record;
    record.Url = "http://host.example/" + std::to_string(number);
    return {testing::KeyOf(record), testing::DataOf(record)};
}

TEST(ReadDbPairs, ReadsBigEndianPages) {
    const std::string file = HashHeaderPage(4096, 4321) +
                             DataPage(4096, {EntryPair(1)}, std::nullopt, true) +
                             DataPage(4096, {});
    const auto entries = EntriesOf(file);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Url, "http://host.example/1");
}

TEST(ReadDbPairs, TakesAtMost250PairsFromOnePage) {
    std::vector<testing::TestPair> pairs;
    for (int i = 0; i < 300; ++i) {
        pairs.push_back({std::string(1, 'k'), std::string(1, 'd')});
    }
    const std::string file = HashHeaderPage(4096) + DataPage(4096, pairs) + DataPage(4096, {});
    EXPECT_EQ(ReadDbPairs(file, {}).size(), 250u);
}

TEST(ReadDbPairs, FollowsOverflowChainsAndStopsOnLoops) {
    // Bucket 0 continues on overflow page 1 of split point 1 (page 3), which links
    // back to itself.
    const std::string file = HashHeaderPage(4096) + DataPage(4096, {EntryPair(1)}, 0x0801) +
                             DataPage(4096, {}) + DataPage(4096, {EntryPair(2)}, 0x0801);
    EXPECT_EQ(EntriesOf(file).size(), 2u);
}

struct DamageCase {
    const char* name;
    std::string file;
};

std::vector<DamageCase> DamageCases() {
    std::mt19937 random(42);
    std::string noise(64 * 1024, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    std::string headerThenNoise = HashHeaderPage(4096) + noise;
    std::string hugeCounts = HashHeaderPage(4096, 1234, 0xFFFFFFFF);
    for (std::size_t at = 68; at < 196; at += 4) {
        hugeCounts.replace(at, 4, "\xFF\xFF\xFF\xF0");
    }
    hugeCounts += DataPage(4096, {EntryPair(1)}, 0xFFFF);
    std::string badOffsets = HashHeaderPage(4096) + DataPage(4096, {EntryPair(1), EntryPair(2)});
    badOffsets[4096 + 2] = '\xFF';  // first key offset beyond the page
    badOffsets[4096 + 3] = '\x7F';
    std::string hugeLengths = HashHeaderPage(4096) + DataPage(4096, {EntryPair(1)});
    for (std::size_t at = 4096 + 4000; at < 8192; at += 4) {
        hugeLengths.replace(at, 2, "\xFF\xFF");
    }
    return {{"RandomBytes", noise},
            {"AllFF", std::string(64 * 1024, '\xFF')},
            {"HeaderThenRandomPages", headerThenNoise},
            {"HeaderThenFFPages", HashHeaderPage(4096) + std::string(32 * 1024, '\xFF')},
            {"HugeBucketAndSpareCounts", hugeCounts},
            {"KeyOffsetBeyondPage", badOffsets},
            {"HugeLengthFields", hugeLengths}};
}

class DamagedDb : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedDb, YieldsFewEntriesWithoutFault) {
    const std::string& file = GetParam().file;
    const auto entries = EntriesOf(file);
    EXPECT_LE(entries.size(), 2u);
    for (const auto& entry : entries) {
        EXPECT_LE(entry.Url.size(), 255u);
        EXPECT_LE(entry.ContentType.size(), 50u);
        EXPECT_LT(entry.FileName.size(), 50u);
    }
}

TEST(ReadDbPairs, RandomlyChangedFilesStayBounded) {
    const std::string original = Fixture("fat4k_big_pair_and_ssl.db");
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string file = original;
        for (int flip = 0; flip < 24; ++flip) {
            // Most changes go to the header and the page tables, where they steer the walk.
            const std::size_t page = random() % (file.size() / 4096);
            const std::size_t at = page * 4096 + (flip % 2 == 0 ? random() % 256 : random() % 4096);
            file[at] = static_cast<char>(random());
        }
        std::size_t bytes = 0;
        for (const DbPair& pair : ReadDbPairs(file, {})) {
            bytes += pair.Key.size() + pair.Data.size();
        }
        ASSERT_LE(bytes, file.size() * 2) << "round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedDb, ::testing::ValuesIn(DamageCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace arkivo
