// Archive runs into a directory that fills up or turns read-only: the run says it
// failed, and archive.dat still lists every item archived before, each with its
// complete copy. The archive directory is a small tmpfs mounted in a private mount
// namespace (unshare), so nothing outside the test sees it.

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "archive/archive_info.h"
#include "archive/archive_layout.h"
#include "cli_tool.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;
namespace fs = std::filesystem;

// The script run inside the namespace: mounts a tmpfs of the given size on the
// archive directory, runs the tool once per step and keeps a copy of the archive
// and the exit status and error output of each step in out/. "readonly" as a step
// remounts the archive read-only.
constexpr const char* Script = R"(
tool=$1 cache=$2 mnt=$3 out=$4 size=$5
shift 5
mount -t tmpfs -o size="$size" tmpfs "$mnt" || exit 90
step=0
for arguments in "$@"; do
    if [ "$arguments" = readonly ]; then
        mount -o remount,ro "$mnt" || exit 91
        continue
    fi
    step=$((step + 1))
    "$tool" archive --nav "$cache" --to "$mnt" $arguments </dev/null >/dev/null 2>"$out/err$step"
    echo $? >"$out/status$step"
    cp -a "$mnt" "$out/after$step"
done
)";

bool CanMountPrivately() {
    return std::system("unshare -rm sh -c 'mount -t tmpfs tmpfs /mnt' >/dev/null 2>&1") == 0;
}

class ArchiveFullDisk : public CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        if (!CanMountPrivately()) {
            GTEST_SKIP() << "cannot mount a tmpfs in a private namespace here (unshare -rm)";
        }
        // a.example: three small pictures; b.example: forty of 16 KB each, more
        // than the small disk holds beside the first run.
        std::vector<TextCacheEntry> entries;
        for (int i = 0; i < 3; ++i) {
            entries.push_back({"http://a.example/small" + std::to_string(i) + ".gif", "image/gif",
                               1, "GIF89a small " + std::to_string(i)});
        }
        for (int i = 0; i < 40; ++i) {
            entries.push_back({"http://b.example/big" + std::to_string(i) + ".gif", "image/gif", 1,
                               "GIF89a" + std::string(16 * 1024, static_cast<char>('a' + i % 26))});
        }
        cache_ = WriteTextCache(dir_ / "cache/", entries);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            // archive.dat stores URLs with the port spelled out.
            std::string url = entries[i].Url;
            url.insert(url.find('/', 7), ":80");
            bodies_[url] = entries[i].Body;
        }
        fs::create_directories(dir_ / "mnt");
        fs::create_directories(dir_ / "out");
    }

    // Runs the steps (each the tool's extra arguments, or "readonly") on a tmpfs of
    // the given size; false when the mount failed.
    bool Run(const std::string& size, const std::vector<std::string>& steps) {
        WriteFile(dir_ / "steps.sh", Script);
        std::string command = "unshare -rm sh " + Quote(dir_ / "steps.sh") + " " + Quote(Tool) +
                              " " + Quote(cache_) + " " + Quote(dir_ / "mnt") + " " +
                              Quote(dir_ / "out") + " " + size;
        for (const std::string& step : steps) {
            command += " " + Quote(step);
        }
        return std::system(command.c_str()) == 0;
    }

    int Status(int step) const {
        return std::stoi(
            ReadWholeFile(dir_ / ("out/status" + std::to_string(step))).value_or("-1"));
    }
    std::string Errors(int step) const {
        return ReadWholeFile(dir_ / ("out/err" + std::to_string(step))).value_or("");
    }
    std::string After(int step) const { return dir_ / ("out/after" + std::to_string(step) + "/"); }

    // The URLs archive.dat lists after the step, after checking each has its whole
    // copy in the archive.
    std::set<std::string> ArchivedUrls(int step) {
        std::set<std::string> urls;
        const TCacheItemList entries = LoadArchiveInfo(After(step) + "archive.dat");
        for (const auto& entry : entries) {
            const std::string copy = ArchivePathOf(After(step), *entry).value_or("(unsafe)");
            EXPECT_EQ(ReadWholeFile(copy).value_or("(missing)"), bodies_[entry->Url]) << copy;
            urls.insert(entry->Url);
        }
        return urls;
    }

    // Temporary files a failed write must not leave behind to fill the disk further.
    std::vector<std::string> Leftovers(int step) const {
        std::vector<std::string> found;
        for (const auto& file : fs::recursive_directory_iterator(After(step))) {
            const std::string name = file.path().filename().string();
            if (name.rfind(".arkivo-", 0) == 0 || name == "archive.tmp") {
                found.push_back(file.path().string());
            }
        }
        return found;
    }

    std::string cache_;
    std::map<std::string, std::string> bodies_;
};

TEST_F(ArchiveFullDisk, RunsThatFillTheDiskFailAndKeepEarlierItems) {
    ASSERT_TRUE(Run("400k", {"--domain a.example", "", ""}));
    ASSERT_EQ(Status(1), 0) << Errors(1);
    const std::set<std::string> first = ArchivedUrls(1);
    EXPECT_EQ(first.size(), 3u);

    // The second run fills the disk part way through.
    EXPECT_EQ(Status(2), 4);
    EXPECT_NE(Errors(2).find("No space left on device"), std::string::npos) << Errors(2);
    const std::set<std::string> second = ArchivedUrls(2);
    EXPECT_TRUE(std::includes(second.begin(), second.end(), first.begin(), first.end()));
    EXPECT_LT(second.size(), bodies_.size()) << "the disk was meant to fill up";
    EXPECT_EQ(Leftovers(2), std::vector<std::string>{});

    // The third finds no room at all.
    EXPECT_EQ(Status(3), 4);
    EXPECT_FALSE(Errors(3).empty());
    EXPECT_EQ(ReadFile(After(3) + "archive.dat"), ReadFile(After(2) + "archive.dat"));
    EXPECT_EQ(ArchivedUrls(3), second);
    EXPECT_EQ(Leftovers(3), std::vector<std::string>{});
}

TEST_F(ArchiveFullDisk, FirstRunThatCannotRecordItsItemsSaysSo) {
    ASSERT_TRUE(Run("400k", {""}));
    EXPECT_EQ(Status(1), 4);
    // The type table is written first, just before archive.dat.
    EXPECT_NE(Errors(1).find("archive_types.dat: No space left on device"), std::string::npos)
        << Errors(1);
    EXPECT_EQ(Leftovers(1), std::vector<std::string>{});
}

TEST_F(ArchiveFullDisk, RunIntoAReadOnlyArchiveFailsAndChangesNothing) {
    ASSERT_TRUE(Run("4m", {"--domain a.example", "readonly", ""}));
    ASSERT_EQ(Status(1), 0) << Errors(1);
    EXPECT_EQ(Status(2), 4);
    EXPECT_NE(Errors(2).find("Read-only file system"), std::string::npos) << Errors(2);
    EXPECT_EQ(ReadFile(After(2) + "archive.dat"), ReadFile(After(1) + "archive.dat"));
    EXPECT_EQ(ArchivedUrls(2).size(), 3u);
}

}  // namespace
}  // namespace arkivo
