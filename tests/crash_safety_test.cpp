// The files Arkivo rewrites in place survive the process being killed at any moment:
// a child rewrites one file over and over, counting versions up, and is killed with
// SIGKILL after a random pause. Afterwards the file must be one complete version,
// byte for byte what that version's write produces, and the next write must work.
// Each round goes on from what the killed child left behind (a stale temporary file,
// a lock file), so recovery from every such state is tried too.
// (index.dat, killed while deleting, is covered in ie_url_cache_delete_test.cpp.)

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "archive/archive_info.h"
#include "shell/settings_store.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ReadFile;
using testing::TempDir;

constexpr int Kills = 220;

// Forks a child that calls writeVersion(1), writeVersion(2), ... until it is killed,
// kills it after a random pause of up to maxPauseMicros, then calls check. Returns
// how many rounds found a version other than the one the round started from.
int KillWhileRewriting(const std::function<void(int)>& writeVersion,
                       const std::function<int()>& check, int maxPauseMicros) {
    std::mt19937 random(20261207);
    int changed = 0;
    int current = check();
    for (int round = 0; round < Kills; ++round) {
        const int start = current + 1;
        const pid_t child = ::fork();
        if (child < 0) {
            ADD_FAILURE() << "fork failed";
            return changed;
        }
        if (child == 0) {
            for (int version = start;; ++version) {
                writeVersion(version);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % maxPauseMicros));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        SCOPED_TRACE("round " + std::to_string(round));
        const int found = check();
        if (::testing::Test::HasFailure()) {
            return changed;
        }
        changed += found != current ? 1 : 0;
        current = found;
    }
    return changed;
}

// ---- archive.dat ----

// Version v of the list: 1 + v % 4 entries, each naming v in its title.
void WriteArchiveVersion(const std::string& dir, int version) {
    TArchiveList list;
    for (int i = 0; i <= version % 4; ++i) {
        TCacheItem item;
        item.Kind = 1;
        item.Date = 36000.0 + version;
        item.Url = "http://www.example.com:80/page" + std::to_string(i) + ".html";
        item.Title = "version " + std::to_string(version);
        item.ArchiveName = "page" + std::to_string(i) + ".htm";
        list.MergeArchived(item);
    }
    const Status status = list.WriteArchiveInfo(dir);
    if (!status.ok()) {
        ADD_FAILURE() << status.message();
    }
}

// The version archive.dat in dir holds, after checking it is exactly that version's
// bytes; -1 on failure.
int ArchiveVersionIn(const std::string& dir) {
    const std::string path = dir + std::string(ArchiveInfoFileName);
    TCacheItemList entries;
    try {
        entries = LoadArchiveInfo(path);
    } catch (const StreamError& error) {
        ADD_FAILURE() << "archive.dat unreadable: " << error.what();
        return -1;
    }
    if (entries.empty() || entries.front()->Title.rfind("version ", 0) != 0) {
        ADD_FAILURE() << "archive.dat holds no version";
        return -1;
    }
    const int version = std::stoi(entries.front()->Title.substr(8));
    TempDir expected;
    WriteArchiveVersion(expected.Path(), version);
    EXPECT_EQ(ReadFile(path), ReadFile(expected / ArchiveInfoFileName)) << "version " << version;
    return version;
}

TEST(CrashSafety, ArchiveInfoIsOldOrNewAfterAnyKill) {
    TempDir archive;
    WriteArchiveVersion(archive.Path(), 0);
    const int changed =
        KillWhileRewriting([&](int version) { WriteArchiveVersion(archive.Path(), version); },
                           [&] { return ArchiveVersionIn(archive.Path()); }, 20000);
    // The children must have got writes done for the kills to have hit something.
    EXPECT_GT(changed, Kills / 4);
    // A run after the last kill still writes and reads its list.
    WriteArchiveVersion(archive.Path(), 7);
    EXPECT_EQ(ArchiveVersionIn(archive.Path()), 7);
}

// ---- the settings file ----

constexpr std::string_view Section = "Export to disk properties";

// The settings file holds other values beside the counter; each write keeps them.
void WriteSettingsVersion(const std::string& path, int version) {
    const Status status = SettingsStore(path).WriteInteger(Section, "Counter", version);
    if (!status.ok()) {
        ADD_FAILURE() << status.message();
    }
}

int SettingsVersionIn(const std::string& path, const std::string& firstVersionPath) {
    const std::string text = ReadFile(path);
    const SettingsStore store(path);
    EXPECT_EQ(store.ReadString(Section, "Default directory", ""), "/home/me/ARCHIVE/");
    const int version = store.ReadInteger(Section, "Counter", -1);
    if (version < 0) {
        ADD_FAILURE() << "no counter in:\n" << text;
        return -1;
    }
    // The same value written over the first version gives the same bytes.
    TempDir expected;
    const std::string expectedPath = expected / "Arkivo.reg";
    testing::WriteFile(expectedPath, ReadFile(firstVersionPath));
    WriteSettingsVersion(expectedPath, version);
    EXPECT_EQ(text, ReadFile(expectedPath)) << "version " << version;
    return version;
}

TEST(CrashSafety, SettingsFileIsOldOrNewAfterAnyKill) {
    TempDir config;
    const std::string path = config / "Quenlow/Arkivo.reg";
    ASSERT_TRUE(
        SettingsStore(path).WriteString(Section, "Default directory", "/home/me/ARCHIVE/").ok());
    WriteSettingsVersion(path, 0);
    const std::string firstVersion = config / "first.reg";
    testing::WriteFile(firstVersion, ReadFile(path));

    const int changed =
        KillWhileRewriting([&](int version) { WriteSettingsVersion(path, version); },
                           [&] { return SettingsVersionIn(path, firstVersion); }, 20000);
    EXPECT_GT(changed, Kills / 4);
    // The lock a killed writer held does not stop the next write.
    WriteSettingsVersion(path, 1000000);
    EXPECT_EQ(SettingsVersionIn(path, firstVersion), 1000000);
}

}  // namespace
}  // namespace arkivo
