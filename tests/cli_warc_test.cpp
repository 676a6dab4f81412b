// arkivo warc run as a program: the files it writes, what it counts and when it
// fails.

#include <filesystem>

#include "cli_tool.h"
#include "warc_test_reader.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;

class CliWarcTest : public CliTest {
  protected:
    std::string Cache() {
        return WriteTextCache(
            dir_ / "cache/",
            {
                {"http://a.example/index.htm", "text/html", 3, "<TITLE>Front</TITLE>"},
                {"http://a.example/logo.gif", "image/gif", 2, "GIF89a"},
                {"http://b.example/x.txt", "text/plain", 1, "b"},
            });
    }
    std::string out_ = dir_ / "out/";
};

TEST_F(CliWarcTest, WritesTheChosenItemsAsAWarcItsIndexAndAPackage) {
    std::filesystem::create_directories(out_);
    const Outcome outcome = RunTool("warc --nav " + Quote(Cache()) + " --domain a.example --to " +
                                    Quote(out_ + "a.warc.gz") + " --cdxj " +
                                    Quote(out_ + "a.cdxj") + " --wacz " + Quote(out_ + "a.wacz"));
    ASSERT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out, "2 items written to " + out_ + "a.warc.gz and " + out_ + "a.wacz\n");
    const auto members = ReadGzipMembers(ReadFile(out_ + "a.warc.gz"));
    ASSERT_EQ(members.size(), 5u);
    EXPECT_EQ(ParseWarcRecord(members[1].Bytes).Fields.at("WARC-Target-URI"),
              "http://a.example/index.htm");
    const std::string index = ReadFile(out_ + "a.cdxj");
    EXPECT_EQ(std::count(index.begin(), index.end(), '\n'), 2);
    EXPECT_EQ(index.substr(0, 22), "example,a)/index.htm 2");
    EXPECT_GT(ReadFile(out_ + "a.wacz").size(), members[0].Length);
}

// (Items whose cached file vanishes after the cache was read are skipped and
// counted; web_archive_export_test covers that, as the reader drops missing files.)
TEST_F(CliWarcTest, AnUnwritableTargetFailsWithStatus4AndWritesNothing) {
    const std::string cache = Cache();
    const Outcome unwritable =
        RunTool("warc --nav " + Quote(cache) + " --wacz " + Quote(dir_ / "no/such/a.wacz"));
    EXPECT_EQ(unwritable.Status, 4);
    EXPECT_NE(unwritable.Err.find("cannot open the folder of " + dir_ / "no/such/a.wacz"),
              std::string::npos)
        << unwritable.Err;

    // A folder in the way of the target: the temporary file is removed again.
    std::filesystem::create_directories(out_ + "taken.warc.gz/x");
    const Outcome taken =
        RunTool("warc --nav " + Quote(cache) + " --to " + Quote(out_ + "taken.warc.gz"));
    EXPECT_EQ(taken.Status, 4);
    EXPECT_NE(taken.Err.find("nothing was written"), std::string::npos) << taken.Err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out_),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace arkivo
