#include "model/file_utils.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/file_system.h"
#include "platform/unique_fd.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(MakeDirectoryPath, CreatesEveryMissingParent) {
    TempDir dir;
    MakeDirectoryPath(dir / "a/b/c/");
    EXPECT_TRUE(IsDirectory(dir / "a/b/c"));
    MakeDirectoryPath(dir / "a/b/c");  // already there: nothing happens
    EXPECT_TRUE(IsDirectory(dir / "a/b/c"));
}

TEST(MakeDirectoryPath, EmptyTextAndAFileInTheWayDoNothing) {
    TempDir dir;
    MakeDirectoryPath("");
    WriteFile(dir / "file", "x");
    MakeDirectoryPath(dir / "file/sub");
    EXPECT_FALSE(IsDirectory(dir / "file/sub"));
    EXPECT_EQ(ReadFile(dir / "file"), "x");
}

TEST(IsDirectory, OnlyForDirectories) {
    TempDir dir;
    WriteFile(dir / "f", "x");
    EXPECT_TRUE(IsDirectory(dir.Path()));
    EXPECT_FALSE(IsDirectory(dir / "f"));
    EXPECT_FALSE(IsDirectory(dir / "missing"));
    EXPECT_FALSE(IsDirectory(""));
}

// Copies src (a file under dir) to target beneath dir, as the archive run copies
// a cached file into the archive.
Status Copy(const TempDir& dir, const std::string& src, const std::string& target) {
    const UniqueFd in(OpenRegularFile(src));
    if (!in.Valid()) {
        return Status::Error(StatusCode::Unreadable, src);
    }
    return CopyFileBeneath(in.Get(), dir.Path(), target);
}

TEST(CopyFileBeneath, CopiesAndReplacesTheTarget) {
    TempDir dir;
    std::string big(300000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i % 251);
    }
    WriteFile(dir / "src", big);
    WriteFile(dir / "dst", std::string(500000, 'o'));
    ASSERT_TRUE(Copy(dir, dir / "src", dir / "dst").ok());
    EXPECT_EQ(ReadFile(dir / "dst"), big);

    WriteFile(dir / "empty", "");
    ASSERT_TRUE(Copy(dir, dir / "empty", dir / "dst").ok());
    EXPECT_EQ(ReadFile(dir / "dst"), "");
}

TEST(CopyFileBeneath, ReportsWhatCouldNotBeCopied) {
    TempDir dir;
    WriteFile(dir / "src", "x");
    const Status missingFolder = Copy(dir, dir / "src", dir / "no/such/dir/dst");
    EXPECT_FALSE(missingFolder.ok());
    EXPECT_NE(missingFolder.message().find("No such file or directory"), std::string::npos);
}

TEST(CopyFileBeneath, AFailedCopyLeavesTheOldTarget) {
    TempDir dir;
    WriteFile(dir / "src", "new");
    WriteFile(dir / "sub/dst", "old copy");
    ::chmod((dir / "sub").c_str(), 0555);  // no new file can be made beside it
    if (::geteuid() != 0) {
        EXPECT_FALSE(Copy(dir, dir / "src", dir / "sub/dst").ok());
        EXPECT_EQ(ReadFile(dir / "sub/dst"), "old copy");
    }
    ::chmod((dir / "sub").c_str(), 0755);
}

TEST(CopyFileBeneath, NeverWritesThroughALinkOutOfTheRoot) {
    TempDir outside;
    TempDir dir;
    WriteFile(dir / "src", "new");
    WriteFile(outside / "victim", "kept");
    std::filesystem::create_directory_symlink(outside.Path(), dir / "linked");
    EXPECT_FALSE(Copy(dir, dir / "src", dir / "linked/victim").ok());
    std::filesystem::create_symlink(outside / "victim", dir / "dst");
    ASSERT_TRUE(Copy(dir, dir / "src", dir / "dst").ok());  // the link is replaced
    EXPECT_EQ(ReadFile(outside / "victim"), "kept");
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "dst"));
    EXPECT_EQ(ReadFile(dir / "dst"), "new");
}

}  // namespace
}  // namespace arkivo
