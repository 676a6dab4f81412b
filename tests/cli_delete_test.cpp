// arkivo delete run as a program: the refusal without a terminal, the explorer's
// question on a terminal, --yes, what is deleted, the counts reported and the exit
// status when not everything could be deleted. Caches that even root cannot change
// are made by mounting a directory read-only in a private mount namespace.

#include <filesystem>

#include "cli_tool.h"
#include "readers/ie_index_file.h"

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

    // Runs the tool with dir read-only for it alone, its sub-directories left as they
    // are; Status 90 when that cannot be arranged here.
    Outcome RunWithReadOnly(const std::string& dir, const std::string& arguments) {
        const std::string err = dir_ / "stderr";
        const std::string script =
            "for d in \"$0\"/*/; do [ ! -d \"$d\" ] || mount --bind \"$d\" \"$d\" || exit 90; "
            "done; mount --rbind \"$0\" \"$0\" && mount -o remount,ro,bind \"$0\" || exit 90; "
            "exec \"$@\"";
        const CommandResult run = RunCommand(
            "unshare -rm true 2>/dev/null || exit 90; unshare -rm sh -c " + Quote(script) + " " +
            Quote(dir) + " " + Tool + " " + arguments + " </dev/null 2>" + Quote(err));
        return {run.Status, run.Output, ReadWholeFile(err).value_or("")};
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
    EXPECT_EQ(outcome.Out,
              "1 item deleted, 0 marked for deletion (files still on disk), 0 not deleted\n");
    EXPECT_TRUE(Cached(0));
    EXPECT_TRUE(Cached(1));
    EXPECT_FALSE(Cached(2));
    // The item is gone from the cache, so the same choice finds nothing now.
    const Outcome again =
        RunTool("delete --nav " + Quote(index_) + " --domain a.example --types media --yes");
    EXPECT_EQ(again.Status, 1);
    EXPECT_NE(again.Err.find("arkivo: No files to delete."), std::string::npos) << again.Err;
}

// A FAT.DB written by Berkeley DB 1.85 itself (tools/make_fat_db) whose cached
// file is a link to a file outside the cache: never listed, archived or deleted.
TEST_F(CliDeleteTest, ACachedFileLinkedOutOfTheCacheIsNeverTouched) {
    const std::string maker = std::string(ARKIVO_BINARY_DIR) + "/tools/make_fat_db";
    WriteFile(dir_ / "site/out.txt", "x");
    WriteFile(dir_ / "site/in.txt", "y");
    WriteFile(dir_ / "site/manifest",
              "http://a.example/out.txt\ttext/plain\t2026-11-01 00:00:00\tout.txt\n"
              "http://a.example/in.txt\ttext/plain\t2026-11-01 00:00:00\tin.txt\n");
    const std::string cache = dir_ / "fat/";
    std::filesystem::create_directory(cache);
    const CommandResult made = RunCommand(maker + " " + Quote(cache + "FAT.DB") + " --manifest " +
                                          Quote(dir_ / "site/manifest") + " 2>&1");
    if (made.Status != 0) {
        ASSERT_NE(made.Output.find("cannot load libdb.so.2"), std::string::npos) << made.Output;
        GTEST_SKIP() << made.Output;
    }
    WriteFile(dir_ / "victim/thesis.txt", "years of work");
    std::filesystem::remove(cache + "M0000001.TXT");
    std::filesystem::create_symlink(dir_ / "victim/thesis.txt", cache + "M0000001.TXT");
    const std::string source = "--nav " + Quote(cache + "FAT.DB");

    const Outcome items = RunTool("items " + source);
    EXPECT_EQ(items.Out.find("out.txt"), std::string::npos) << items.Out;
    EXPECT_NE(items.Out.find("in.txt"), std::string::npos) << items.Err;
    const Outcome archived = RunTool("archive " + source + " --to " + Quote(dir_ / "archive"));
    EXPECT_EQ(archived.Status, 0) << archived.Err;
    const Outcome deleted = RunTool("delete " + source + " --yes");
    EXPECT_EQ(deleted.Out,
              "1 item deleted, 0 marked for deletion (files still on disk), 0 not deleted\n");
    EXPECT_EQ(testing::ReadFile(dir_ / "victim/thesis.txt"), "years of work");
    EXPECT_TRUE(std::filesystem::is_symlink(cache + "M0000001.TXT"));
}

TEST_F(CliDeleteTest, OnATerminalTheWholeCacheQuestionIsAskedAndYesDeletes) {
    const Outcome outcome = RunOnTerminal({"delete", "--nav", index_}, Prompt, "y\n");
    EXPECT_EQ(outcome.Status, 0) << outcome.Out;
    EXPECT_NE(outcome.Out.find("Are you sure you want to delete these\r\nitems from the cache?\r\n"
                               "\r\nWARNING : This selection will delete\r\nthe entire cache. "
                               "Continue?\r\n[y]es, [n]o or [c]ancel? "),
              std::string::npos)
        << outcome.Out;
    EXPECT_NE(outcome.Out.find("3 items deleted, 0 marked for deletion (files still on disk), 0 "
                               "not deleted"),
              std::string::npos);
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

// Navigator files that cannot be removed leave their items not deleted.
TEST_F(CliDeleteTest, ANavigatorFileThatCannotBeRemovedIsNotDeleted) {
    const Outcome outcome = RunWithReadOnly(
        dir_ / "cache", "delete --nav " + Quote(index_) + " --domain a.example --yes");
    if (outcome.Status == 90) {
        GTEST_SKIP() << "cannot mount read-only in a private namespace here (unshare -rm)";
    }
    EXPECT_EQ(outcome.Status, 4) << outcome.Err;
    EXPECT_EQ(outcome.Out,
              "0 items deleted, 0 marked for deletion (files still on disk), 2 not deleted\n");
    EXPECT_NE(outcome.Err.find("arkivo: 2 items could not be deleted and stay in the cache; "
                               "the first: " +
                               dir_ / "cache/M0: Read-only file system"),
              std::string::npos)
        << outcome.Err;
    EXPECT_TRUE(Cached(0) && Cached(1) && Cached(2));
}

class CliIeDeleteTest : public CliDeleteTest {
  protected:
    void SetUp() override {
        CliDeleteTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        ie_ = dir_ / "ie/";
        std::filesystem::copy(TestDataDir() + "/ie/typical", ie_,
                              std::filesystem::copy_options::recursive);
    }

    std::string ie_;
};

TEST_F(CliIeDeleteTest, EntriesLeaveTheIndex) {
    const std::string before = RunTool("items --ie " + Quote(ie_)).Out;
    ASSERT_NE(before.find("http://static.example.net"), std::string::npos) << before;

    const Outcome outcome =
        RunTool("delete --ie " + Quote(ie_) + " --domain static.example.net --yes");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    // The fixture's own LEAK record is finished first.
    EXPECT_EQ(outcome.Out,
              "earlier deletions: 1 item finished, 0 still marked for deletion (files still on "
              "disk)\n1 item deleted, 0 marked for deletion (files still on disk), 0 not "
              "deleted\n");
    const std::string after = RunTool("items --ie " + Quote(ie_)).Out;
    EXPECT_EQ(after.find("http://static.example.net"), std::string::npos) << after;
    EXPECT_NE(after.find("http://www.example.com"), std::string::npos) << after;
}

// A cache whose index cannot be replaced loses nothing, though its files could go:
// every item is not deleted.
TEST_F(CliIeDeleteTest, AnIndexThatCannotBeReplacedDeletesNothing) {
    const std::string index = ReadFile(ie_ + "index.dat");
    const Outcome outcome = RunWithReadOnly(ie_, "delete --ie " + Quote(ie_) + " --yes");
    if (outcome.Status == 90) {
        GTEST_SKIP() << "cannot mount read-only in a private namespace here (unshare -rm)";
    }
    EXPECT_EQ(outcome.Status, 4) << outcome.Err;
    EXPECT_EQ(outcome.Out,
              "earlier deletions: 0 items finished, 1 still marked for deletion (files still on "
              "disk)\n0 items deleted, 0 marked for deletion (files still on disk), 8 not "
              "deleted\n");
    EXPECT_NE(outcome.Err.find("nothing was deleted"), std::string::npos) << outcome.Err;
    EXPECT_EQ(ReadFile(ie_ + "index.dat"), index);
    EXPECT_TRUE(FileExists(ie_ + "ABCD1234/index[1].htm"));
    EXPECT_TRUE(FileExists(ie_ + "ABCD1234/leaked[1].htm"));
    EXPECT_TRUE(FileExists(ie_ + "efgh5678/plain[1].txt"));
}

// Files that cannot be removed leave their items marked for deletion; once they can,
// the next delete finishes them, though the cache lists nothing to delete any more.
TEST_F(CliIeDeleteTest, ItemsMarkedForDeletionAreFinishedByTheNextDelete) {
    const Outcome outcome =
        RunWithReadOnly(ie_ + "ABCD1234", "delete --ie " + Quote(ie_) + " --yes");
    if (outcome.Status == 90) {
        GTEST_SKIP() << "cannot mount read-only in a private namespace here (unshare -rm)";
    }
    EXPECT_EQ(outcome.Status, 4) << outcome.Err;
    EXPECT_EQ(outcome.Out,
              "earlier deletions: 0 items finished, 1 still marked for deletion (files still on "
              "disk)\n5 items deleted, 3 marked for deletion (files still on disk), 0 not "
              "deleted\n");
    EXPECT_NE(outcome.Err.find("arkivo: 3 items marked for deletion"), std::string::npos)
        << outcome.Err;
    EXPECT_TRUE(FileExists(ie_ + "ABCD1234/index[1].htm"));
    EXPECT_FALSE(FileExists(ie_ + "efgh5678/plain[1].txt"));
    // No longer listed.
    EXPECT_EQ(RunTool("items --ie " + Quote(ie_)).Out.find("http://www.example.com/index.html"),
              std::string::npos);

    const Outcome next = RunTool("delete --ie " + Quote(ie_) + " --yes");
    EXPECT_EQ(next.Status, 1) << next.Err;
    EXPECT_EQ(next.Out,
              "earlier deletions: 4 items finished, 0 still marked for deletion (files still on "
              "disk)\n");
    EXPECT_NE(next.Err.find("arkivo: No files to delete."), std::string::npos) << next.Err;
    EXPECT_FALSE(FileExists(ie_ + "ABCD1234/index[1].htm"));
    EXPECT_FALSE(FileExists(ie_ + "ABCD1234/leaked[1].htm"));
    IeIndex parsed;
    ASSERT_TRUE(ParseIndexFile(ReadFile(ie_ + "index.dat"), parsed).ok());
    EXPECT_TRUE(parsed.LeakChain.empty());
}

}  // namespace
}  // namespace arkivo
