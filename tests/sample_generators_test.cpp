// The manifest modes of the cache generators (tools/make_fat_db --manifest,
// tools/ie_fixture_writer --manifest), run on a small manifest and read back
// through the real readers: every resource comes back with its URL, type, date
// and bytes. Skipped when a generator was not built.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "model/content_types.h"
#include "model/file_utils.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "readers/ie_cache_reader.h"
#include "readers/netscape_index.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::CommandResult;
using testing::ItemUrl;
using testing::ReadFile;
using testing::RunCommand;
using testing::Seconds;
using testing::TempDir;
using testing::WriteFile;

const std::string Tools = std::string(ARKIVO_BINARY_DIR) + "/tools/";

// Runs a command with its standard error joined to its output.
CommandResult RunTool(const std::string& command) {
    return RunCommand(command + " 2>&1");
}

// URL, type, date, content file, bytes. The two index pages land in the same IE
// cache directory (entries take turns among four).
struct Resource {
    const char* url;
    const char* type;
    const char* date;
    const char* file;
    const char* content;
};
const Resource Resources[] = {
    {"http://alpha.example/", "text/html", "2026-10-01 10:00:00", "alpha/index.html",
     "<HTML>alpha</HTML>"},
    {"http://alpha.example/logo.gif", "image/gif", "2026-10-02 11:30:00", "alpha/logo.gif",
     "GIF89a"},
    {"http://beta.example/notes.txt", "text/plain", "2026-10-20 08:15:00", "beta/notes.txt",
     "notes"},
    {"http://beta.example/song.wav", "audio/x-wav", "2026-11-03 17:45:00", "beta/song.wav", "RIFF"},
    {"http://beta.example/index.html", "text/html", "2026-11-28 23:59:00", "beta/index.html",
     "<HTML>beta</HTML>"},
};

// Item URL -> "type seconds bytes".
std::map<std::string, std::string> ExpectedListing() {
    std::map<std::string, std::string> listing;
    for (const Resource& resource : Resources) {
        int year, month, day, hour, minute, second;
        std::sscanf(resource.date, "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute,
                    &second);
        listing[ItemUrl(resource.url)] =
            std::string(resource.type) + " " +
            Seconds(*EncodeDate({year, month, day, hour, minute, second, 0})) + " " +
            resource.content;
    }
    return listing;
}

std::map<std::string, std::string> ListingOf(const TCacheItemList& items) {
    std::map<std::string, std::string> listing;
    for (const auto& item : items) {
        listing[item->Url] =
            ContentTypeOf(item->Kind) + " " + Seconds(item->Date) + " " + ReadFile(item->CacheFile);
    }
    return listing;
}

class SampleGeneratorsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!FileExists(Tools + "make_fat_db") || !FileExists(Tools + "ie_fixture_writer")) {
            GTEST_SKIP() << "the generators in " << Tools << " were not built";
        }
        LoadMimeTypes(dir_.Path());
        SetNowForTesting(EncodeDate({2026, 12, 1, 0, 0, 0, 0}));
        std::string manifest;
        for (const Resource& resource : Resources) {
            WriteFile(dir_ / "site/" + resource.file, resource.content);
            manifest += std::string(resource.url) + '\t' + resource.type + '\t' + resource.date +
                        '\t' + resource.file + '\n';
        }
        WriteFile(manifest_, manifest);
        MakeDirectoryPath(dir_ / "nav");
    }
    void TearDown() override { SetNowForTesting(std::nullopt); }

    TempDir dir_;
    const std::string manifest_ = dir_ / "site/manifest.tsv";
};

TEST_F(SampleGeneratorsTest, FatDbHoldsTheManifestsResources) {
    const CommandResult run =
        RunTool(Tools + "make_fat_db " + dir_ / "nav/FAT.DB" + " --manifest " + manifest_);
    ASSERT_EQ(run.Status, 0) << run.Output;
    EXPECT_TRUE(run.Output.starts_with("http://alpha.example/\tM0000001.HTM\ttext/html\t"))
        << run.Output;
    TCacheItemList items;
    ASSERT_TRUE(ReadCacheIndex(dir_ / "nav/FAT.DB", items).Opened);
    EXPECT_EQ(ListingOf(items), ExpectedListing());
}

TEST_F(SampleGeneratorsTest, FatDbRefusesMadeUpEntriesBesideAManifest) {
    const CommandResult run = RunTool(Tools + "make_fat_db " + dir_ / "nav/FAT.DB" +
                                      " --manifest " + manifest_ + " --entries 3");
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(run.Output.starts_with("usage: make_fat_db")) << run.Output;
}

TEST_F(SampleGeneratorsTest, IeCacheHoldsTheManifestsResources) {
    const std::string cache = dir_ / "ie/";
    const CommandResult run =
        RunTool(Tools + "ie_fixture_writer --manifest " + manifest_ + " " + cache);
    ASSERT_EQ(run.Status, 0) << run.Output;
    TCacheItemList items;
    ASSERT_TRUE(ReadUrlCache(cache, items));
    EXPECT_EQ(ListingOf(items), ExpectedListing());
    std::map<std::string, std::string> files;  // URL -> cached file
    for (const auto& item : items) {
        files[item->Url] = item->CacheFile;
    }
    const std::string alpha = files[ItemUrl("http://alpha.example/")];
    const std::string beta = files[ItemUrl("http://beta.example/index.html")];
    EXPECT_EQ(FileNamePart(alpha), "index[1].htm");
    EXPECT_EQ(FileNamePart(beta), "index[2].htm");
    EXPECT_EQ(DirectoryPart(alpha), DirectoryPart(beta));
    EXPECT_EQ(FileNamePart(files[ItemUrl("http://beta.example/notes.txt")]), "notes[1].txt");
}

TEST_F(SampleGeneratorsTest, BothNameTheManifestLineAtFault) {
    WriteFile(manifest_, "http://alpha.example/\ttext/html\tyesterday\talpha/index.html\n");
    const std::string fault = manifest_ + ":1: the date \"yesterday\" is not YYYY-MM-DD HH:MM:SS\n";
    const CommandResult nav =
        RunTool(Tools + "make_fat_db " + dir_ / "nav/FAT.DB" + " --manifest " + manifest_);
    EXPECT_EQ(nav.Status, 3);
    EXPECT_EQ(nav.Output, "make_fat_db: " + fault);
    const CommandResult ie =
        RunTool(Tools + "ie_fixture_writer --manifest " + manifest_ + " " + dir_ / "ie/");
    EXPECT_EQ(ie.Status, 3);
    EXPECT_EQ(ie.Output, "ie_fixture_writer: " + fault);
}

}  // namespace
}  // namespace arkivo
