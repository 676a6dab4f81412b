#include "model/file_utils.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(CopyFileOver, CopiesAndReplacesTheTarget) {
    TempDir dir;
    std::string big(300000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i % 251);
    }
    WriteFile(dir / "src", big);
    WriteFile(dir / "dst", std::string(500000, 'o'));
    ASSERT_TRUE(CopyFileOver(dir / "src", dir / "dst"));
    EXPECT_EQ(ReadFile(dir / "dst"), big);

    WriteFile(dir / "empty", "");
    ASSERT_TRUE(CopyFileOver(dir / "empty", dir / "dst"));
    EXPECT_EQ(ReadFile(dir / "dst"), "");
}

TEST(CopyFileOver, ReportsWhatCouldNotBeCopied) {
    TempDir dir;
    EXPECT_FALSE(CopyFileOver(dir / "missing", dir / "dst"));
    WriteFile(dir / "src", "x");
    EXPECT_FALSE(CopyFileOver(dir / "src", dir / "no/such/dir/dst"));
    EXPECT_FALSE(CopyFileOver(dir.Path(), dir / "dst"));  // a directory is no file
}

TEST(CopyFileOver, AFailedCopyLeavesTheOldTarget) {
    TempDir dir;
    WriteFile(dir / "src", "new");
    WriteFile(dir / "dst", "old copy");
    WriteFile(dir / "sub/dst", "old copy");
    ::chmod((dir / "sub").c_str(), 0555);  // no new file can be made beside it
    if (::geteuid() != 0) {
        EXPECT_FALSE(CopyFileOver(dir / "src", dir / "sub/dst"));
        EXPECT_EQ(ReadFile(dir / "sub/dst"), "old copy");
    }
    // A source that cannot be read leaves the target alone whoever runs the test.
    WriteFile(dir / "unreadable/x", "");
    EXPECT_FALSE(CopyFileOver(dir / "unreadable", dir / "dst"));
    EXPECT_EQ(ReadFile(dir / "dst"), "old copy");
    ::chmod((dir / "sub").c_str(), 0755);
}

}  // namespace
}  // namespace arkivo
