// arkivo delete run as a program: the refusal without a terminal, the explorer's
// question on a terminal, --yes, what is deleted and the counts reported.

#include <filesystem>

#include "cli_tool.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;

constexpr const char* Prompt = "[y]es, [n]o or [c]ancel? ";

class CliDeleteTest : public CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        index_ = WriteTextCache(dir_ / "cache/", {
                                                     {"http://a.example/1.htm", "text/html", 1},
                                                     {"http://b.example/2.gif", "image/gif", 1},
                                                     {"http://a.example/3.gif", "image/gif", 1},
                                                 });
    }

    bool Cached(int number) const {
        return FileExists(dir_ / ("cache/M" + std::to_string(number)));
    }

    std::string index_;
};

TEST_F(CliDeleteTest, WithoutATerminalAndWithoutYesItRefuses) {
    const Outcome outcome = RunTool("delete --nav " + Quote(index_));
    EXPECT_EQ(outcome.Status, 2);
    EXPECT_TRUE(outcome.Out.empty());
    EXPECT_NE(outcome.Err.find("arkivo: no terminal to ask on; nothing deleted (add --yes"),
              std::string::npos)
        << outcome.Err;
    EXPECT_TRUE(Cached(0) && Cached(1) && Cached(2));
}

TEST_F(CliDeleteTest, YesDeletesOnlyTheChosenItems) {
    const Outcome outcome =
        RunTool("delete --nav " + Quote(index_) + " --domain A.example --types media --yes");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out, "1 item deleted, 0 items not deleted\n");
    EXPECT_TRUE(Cached(0));
    EXPECT_TRUE(Cached(1));
    EXPECT_FALSE(Cached(2));
    // The item is gone from the cache, so the same choice finds nothing now.
    const Outcome again =
        RunTool("delete --nav " + Quote(index_) + " --domain a.example --types media --yes");
    EXPECT_EQ(again.Status, 1);
    EXPECT_NE(again.Err.find("arkivo: No files to delete."), std::string::npos) << again.Err;
}

TEST_F(CliDeleteTest, OnATerminalTheWholeCacheQuestionIsAskedAndYesDeletes) {
    const Outcome outcome = RunOnTerminal({"delete", "--nav", index_}, Prompt, "y\n");
    EXPECT_EQ(outcome.Status, 0) << outcome.Out;
    EXPECT_NE(outcome.Out.find("Are you sure you want to delete these\r\nitems from the cache?\r\n"
                               "\r\nWARNING : This selection will delete\r\nthe entire cache. "
                               "Continue?\r\n[y]es, [n]o or [c]ancel? "),
              std::string::npos)
        << outcome.Out;
    EXPECT_NE(outcome.Out.find("3 items deleted, 0 items not deleted"), std::string::npos);
    EXPECT_FALSE(Cached(0) || Cached(1) || Cached(2));
}

TEST_F(CliDeleteTest, APartOfTheCacheGetsTheShortQuestionAndNoDeletesNothing) {
    const Outcome outcome =
        RunOnTerminal({"delete", "--nav", index_, "--domain", "b.example"}, Prompt, "n\n");
    EXPECT_EQ(outcome.Status, 4) << outcome.Out;
    EXPECT_NE(outcome.Out.find("Are you sure you want to delete these\r\nitems from the cache?\r\n"
                               "[y]es, [n]o or [c]ancel? "),
              std::string::npos)
        << outcome.Out;
    EXPECT_EQ(outcome.Out.find("WARNING"), std::string::npos);
    EXPECT_NE(outcome.Out.find("arkivo: nothing deleted"), std::string::npos);
    EXPECT_TRUE(Cached(0) && Cached(1) && Cached(2));
}

TEST_F(CliDeleteTest, AnAgeFilterAlsoGetsTheShortQuestion) {
    const Outcome outcome =
        RunOnTerminal({"delete", "--nav", index_, "--newer", "1w"}, Prompt, "yes\n");
    EXPECT_EQ(outcome.Status, 0) << outcome.Out;
    EXPECT_EQ(outcome.Out.find("WARNING"), std::string::npos) << outcome.Out;
    EXPECT_FALSE(Cached(0) || Cached(1) || Cached(2));
}

TEST_F(CliDeleteTest, InternetExplorerEntriesLeaveTheIndex) {
    const std::string ie = dir_ / "ie/";
    std::filesystem::copy(TestDataDir() + "/ie/typical", ie,
                          std::filesystem::copy_options::recursive);
    const std::string before = RunTool("items --ie " + Quote(ie)).Out;
    ASSERT_NE(before.find("http://static.example.net"), std::string::npos) << before;

    const Outcome outcome =
        RunTool("delete --ie " + Quote(ie) + " --domain static.example.net --yes");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out, "1 item deleted, 0 items not deleted\n");
    const std::string after = RunTool("items --ie " + Quote(ie)).Out;
    EXPECT_EQ(after.find("http://static.example.net"), std::string::npos) << after;
    EXPECT_NE(after.find("http://www.example.com"), std::string::npos) << after;
}

}  // namespace
}  // namespace arkivo
