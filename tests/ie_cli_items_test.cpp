// arkivo items --ie run as a program over the fixtures and the real index: it lists
// exactly the URL records msiecfexport lists, less those item building drops.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "cli_tool.h"
#include "ie_test_helpers.h"
#include "model/url.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "shell/settings_store.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;

// The value of a string field in each JSON line.
std::vector<std::string> Field(const std::string& json, const std::string& name) {
    std::vector<std::string> values;
    const std::string key = "\"" + name + "\": \"";
    for (std::size_t at = json.find(key); at != std::string::npos; at = json.find(key, at)) {
        at += key.size();
        values.push_back(json.substr(at, json.find('"', at) - at));
    }
    return values;
}

class IeCliItemsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!FileExists(Tool)) {
            GTEST_SKIP() << "the arkivo tool was not built";
        }
    }

    TempDir dir_;
    ScopedEnv config_{"XDG_CONFIG_HOME", dir_ / "config"};
    ScopedEnv data_{"XDG_DATA_HOME", dir_ / "data"};
    ScopedEnv wine_{"WINEPREFIX", dir_ / "wine"};
    ScopedEnv cache_{"ARKIVO_IE_CACHE", ""};
};

// Each fixture and the real index, with an empty file made for every record that
// lacks one: the items are the records whose scheme item building keeps.
TEST_F(IeCliItemsTest, ListsTheUrlRecordsMsiecfexportLists) {
    ARKIVO_REQUIRE_MSIECFEXPORT();
    std::vector<std::pair<std::string, std::string>> caches;  // name, index source
    for (const char* fixture : {"typical", "large-entry", "chained-hash", "unsafe-file-names"}) {
        caches.emplace_back(fixture, IeFixture(fixture));
    }
    if (!SharedDataDir().empty()) {
        caches.emplace_back("real", RealIndex("plaso-Content.IE5-index.dat"));
    }
    for (const auto& [name, source] : caches) {
        SCOPED_TRACE(name);
        const std::string cache = dir_ / (name + "/");
        if (name == "real") {
            WriteFile(cache + "index.dat", ReadFile(source));
        } else {
            std::filesystem::copy(source, cache, std::filesystem::copy_options::recursive);
        }
        const IeIndex index = [&] {
            IeIndex parsed;
            EXPECT_TRUE(ParseIndexFile(ReadFile(cache + "index.dat"), parsed).ok());
            return parsed;
        }();
        const auto exported = MsiecfExport(cache + "index.dat");
        ASSERT_TRUE(exported);
        std::set<std::string> expected;
        for (const ExportedRecord& record : OfType(*exported, "URL")) {
            std::string rest = record.Location;
            if (record.FileName.empty() || !IsSafePathComponent(record.FileName) ||
                SplitHost(rest) == NoHost) {
                continue;
            }
            const std::string& dirName = index.Directories.at(record.DirectoryIndex).Name;
            std::string dir = FindFileNoCase(cache, dirName);
            dir = dir.empty() ? JoinPath(cache, dirName) : dir;
            std::string file = FindFileNoCase(dir, record.FileName);
            if (file.empty()) {
                file = JoinPath(dir, record.FileName);
                WriteFile(file, "");
            }
            expected.insert(LowerCase(file));
        }
        const Outcome outcome = RunTool("items --ie '" + cache + "' --json");
        EXPECT_EQ(outcome.Status, 0);
        std::set<std::string> listed;
        for (const std::string& file : Field(outcome.Out, "file")) {
            listed.insert(LowerCase(file));
        }
        EXPECT_EQ(listed, expected);
        EXPECT_EQ(Field(outcome.Out, "file").size(), expected.size());
    }
}

TEST_F(IeCliItemsTest, PrintsDatesAndTypes) {
    const Outcome outcome = RunTool("items --ie '" + IeFixture("typical") + "' --json");
    ASSERT_EQ(outcome.Status, 0);
    const auto urls = Field(outcome.Out, "url");
    const auto types = Field(outcome.Out, "type");
    const auto dates = Field(outcome.Out, "date");
    ASSERT_EQ(urls.size(), 9u);
    std::map<std::string, std::pair<std::string, std::string>> byUrl;
    for (std::size_t i = 0; i < urls.size(); ++i) {
        byUrl[urls[i]] = {types.at(i), dates.at(i)};
    }
    using Pair = std::pair<std::string, std::string>;
    EXPECT_EQ(byUrl["http://www.example.com:8080/"], Pair("image/gif", "2015-08-25T11:05:22"));
    EXPECT_EQ(byUrl["http://www.example.com:80/later-sync.html"],
              Pair("text/html", "2016-01-02T03:04:06"));
    EXPECT_EQ(byUrl["http://www.example.com:80/zero-times.html"],
              Pair("text/html", "1899-12-30T00:00:00"));
    EXPECT_EQ(byUrl["http://secure.example.org:80/account/login.html"].first,
              "text/html; charset=utf-8");
}

TEST_F(IeCliItemsTest, ExitStatuses) {
    WriteFile(dir_ / "truncated/index.dat",
              ReadFile(IeFixture("typical") + "index.dat").substr(0, 10));
    const struct {
        std::string arguments;
        int status;
    } cases[] = {
        {"items --ie '" + dir_ / "absent" + "'", 3},
        {"items --ie '" + dir_ / "truncated" + "'", 3},
        {"items --ie '" + IeFixture("typical") + "index.dat'", 0},
        {"items --ie", 3},  // no default cache in the empty prefix
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunTool(c.arguments).Status, c.status) << c.arguments;
    }
    ScopedEnv named("ARKIVO_IE_CACHE", IeFixture("wine-signature"));
    const Outcome wine = RunTool("items --ie --json");
    EXPECT_EQ(wine.Status, 0);
    EXPECT_EQ(Field(wine.Out, "url").size(), 2u);
}

// Without a path: ARKIVO_IE_CACHE, else the cache folder stored by ArkivoIE's
// Properties, else the Wine profile's.
TEST_F(IeCliItemsTest, WithoutAPathTakesTheVariableThenTheStoredCacheFolder) {
    const Outcome none = RunTool("items --ie");
    EXPECT_EQ(none.Status, 3);
    EXPECT_NE(none.Err.find("no cache folder is chosen"), std::string::npos) << none.Err;
    EXPECT_NE(none.Err.find("Name one with --ie CACHE."), std::string::npos) << none.Err;
    ASSERT_TRUE(SettingsStore()
                    .WriteString("Browser options", "IE cache folder", IeFixture("wine-signature"))
                    .ok());
    const Outcome stored = RunTool("items --ie --json");
    EXPECT_EQ(stored.Status, 0) << stored.Err;
    EXPECT_EQ(Field(stored.Out, "url").size(), 2u);
    ScopedEnv named("ARKIVO_IE_CACHE", dir_ / "absent");
    EXPECT_EQ(RunTool("items --ie").Status, 3);
}

TEST_F(IeCliItemsTest, HistoryIndexGivesNothingToDo) {
    ARKIVO_REQUIRE_SHARED_DATA();
    WriteFile(dir_ / "History.IE5/index.dat", ReadFile(RealIndex("grr-History-index.dat")));
    EXPECT_EQ(RunTool("items --ie '" + dir_ / "History.IE5" + "'").Status, 1);
}

}  // namespace
}  // namespace arkivo
