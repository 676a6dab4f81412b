// FAT.DB files written by the real Berkeley DB 1.85 hash code (tools/make_fat_db,
// which loads libdb.so.2 from libdb1-compat) against db_dump185, the same
// package's own listing of the live pairs. Skipped when the package is missing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "model/content_types.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "readers/netscape_db_file.h"
#include "readers/netscape_index.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::CommandResult;
using testing::RunCommand;
using testing::TempDir;

const std::string Generator = std::string(ARKIVO_BINARY_DIR) + "/tools/make_fat_db";
const std::string Dumper = "/usr/bin/db_dump185";

// db_dump185 -p prints a header, "HEADER=END", then the key and the data of each
// pair on lines of their own, with bytes outside the printable range as \xx.
std::string Unescape(const std::string& line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '\\') {
            out += '\\';
            ++i;
        } else if (line[i] == '\\' && i + 2 < line.size()) {
            out += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += line[i];
        }
    }
    return out;
}

std::multiset<std::pair<std::string, std::string>> DumpedPairs(const std::string& dump) {
    std::multiset<std::pair<std::string, std::string>> pairs;
    std::istringstream lines(dump);
    std::string line;
    while (std::getline(lines, line) && line != "HEADER=END") {
    }
    std::string key;
    while (std::getline(lines, key) && key != "DATA=END") {
        std::string data;
        std::getline(lines, data);
        pairs.emplace(Unescape(key), Unescape(data));
    }
    return pairs;
}

struct GeneratedCase {
    const char* name;
    const char* options;
};

class GeneratedFatDbTest : public ::testing::TestWithParam<GeneratedCase> {
  protected:
    void SetUp() override {
        if (!FileExists(Generator) || !FileExists(Dumper)) {
            GTEST_SKIP() << "make_fat_db or db_dump185 missing; install libdb1-compat";
        }
        LoadMimeTypes(dir_.Path());
        SetNowForTesting(EncodeDate({2001, 1, 1, 0, 0, 0, 0}));
    }
    void TearDown() override { SetNowForTesting(std::nullopt); }

    TempDir dir_;
};

TEST_P(GeneratedFatDbTest, ReaderFindsExactlyTheLivePairsAndEntries) {
    const std::string index = dir_ / "FAT.DB";
    const std::string errors = dir_ / "make_fat_db.err";
    const CommandResult made =
        RunCommand(Generator + " " + index + " " + GetParam().options + " 2>" + errors);
    if (made.Status != 0) {
        // Only a missing library is a reason to skip; any other failure of the
        // generator would otherwise hide this case for good.
        const std::string message = testing::ReadFile(errors);
        if (message.find("cannot load libdb.so.2") != std::string::npos) {
            GTEST_SKIP() << message;
        }
        FAIL() << "make_fat_db failed: " << message;
    }
    const CommandResult dump = RunCommand(Dumper + " -p " + index);
    ASSERT_EQ(dump.Status, 0);

    const std::string bytes = testing::ReadFile(index);
    std::multiset<std::pair<std::string, std::string>> read;
    for (const DbPair& pair : ReadDbPairs(bytes, {})) {
        read.emplace(pair.Key, pair.Data);
    }
    EXPECT_EQ(read, DumpedPairs(dump.Output));

    // Every live http entry becomes one item with its URL, file, type and date.
    std::map<std::string, std::string> expected;  // URL -> "file type time"
    std::istringstream lines(made.Output);
    std::string url, file, type, time;
    while (std::getline(lines, url, '\t') && std::getline(lines, file, '\t') &&
           std::getline(lines, type, '\t') && std::getline(lines, time)) {
        if (url.starts_with("http://")) {
            const std::string host = url.substr(7, url.find('/', 7) - 7);
            expected["http://" + host + ":80" + url.substr(7 + host.size())] =
                dir_ / file + " " + type + " " + time;
        }
    }
    TCacheItemList items;
    ASSERT_TRUE(ReadCacheIndex(index, items).Opened);
    std::map<std::string, std::string> found;
    for (const auto& item : items) {
        const auto seconds = std::llround((item->Date - UnixEpochDate) * 86400.0);
        EXPECT_TRUE(found
                        .emplace(item->Url, item->CacheFile + " " + ContentTypeOf(item->Kind) +
                                                " " + std::to_string(seconds))
                        .second)
            << "reported twice: " << item->Url;
    }
    EXPECT_EQ(found, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GeneratedFatDbTest,
    ::testing::Values(GeneratedCase{"Small4K", "--entries 5"},
                      GeneratedCase{"Small16K", "--entries 5 --page-size 16384"},
                      GeneratedCase{"Split4K", "--entries 300"},
                      GeneratedCase{"Split4KDeleted", "--entries 400 --delete 300 --seed 7"},
                      GeneratedCase{"Split16KDeleted",
                                    "--entries 600 --delete 250 --page-size 16384 --seed 3"},
                      GeneratedCase{"Grown4K", "--entries 2000 --delete 150 --seed 11"},
                      GeneratedCase{"Grown16K", "--entries 2000 --page-size 16384"},
                      GeneratedCase{"BigPairs4K", "--entries 40 --big 3 --ssl 2"},
                      GeneratedCase{"BigPairs16K", "--entries 10 --big 2 --page-size 16384"},
                      GeneratedCase{"StoredAfterBookkeeping", "--entries 30 --after 4"},
                      GeneratedCase{"Version5Records", "--entries 6 --v5 12"},
                      GeneratedCase{"Version5Records16K", "--entries 3 --v5 8 --page-size 16384"},
                      GeneratedCase{"OneEntry", "--entries 1 --seed 2"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace arkivo
