#include "archive/archive_lock.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

TEST(ArchiveLock, OneRunAtATime) {
    TempDir archive;
    {
        const ArchiveLock first(archive.Path());
        ASSERT_TRUE(first.status().ok()) << first.status().message();
        const ArchiveLock second(archive.Path());
        EXPECT_EQ(second.status().code(), StatusCode::Refused);
        EXPECT_NE(second.status().message().find(ArchiveBusyText), std::string::npos);
    }
    EXPECT_TRUE(ArchiveLock(archive.Path()).status().ok());  // released with its holder
    EXPECT_EQ(ArchiveLock(archive / "missing").status().code(), StatusCode::Unreadable);
}

TEST(ArchiveLock, TakingItRemovesWhatKilledRunsLeft) {
    TempDir archive;
    TempDir outside;
    const std::vector<std::string> leftovers = {".arkivo-Ab12Cd", "archive.tmp",
                                                "www.x.example/.arkivo-000000",
                                                "www.x.example/text/.arkivo-zzzzzz"};
    const std::vector<std::string> kept = {
        ".arkivo-toolongname", "archive.dat", "www.x.example/archive.tmp",
        "www.x.example/text/.arkivo-old", "www.x.example/text/deeper/.arkivo-aaaaaa"};
    for (const auto& name : leftovers) {
        WriteFile(archive / name, "x");
    }
    for (const auto& name : kept) {
        WriteFile(archive / name, "x");
    }
    WriteFile(outside / ".arkivo-AAAAAA", "not ours");
    fs::create_directory_symlink(outside.Path(), archive / "linked.example");

    const ArchiveLock lock(archive.Path());
    ASSERT_TRUE(lock.status().ok());
    for (const auto& name : leftovers) {
        EXPECT_FALSE(fs::exists(archive / name)) << name;
    }
    for (const auto& name : kept) {
        EXPECT_TRUE(FileExists(archive / name)) << name;
    }
    EXPECT_TRUE(FileExists(outside / ".arkivo-AAAAAA"));
}

}  // namespace
}  // namespace arkivo
