#include "platform/rooted_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

// A root holding a file, a folder, links that stay inside and links that lead out.
struct Tree {
    Tree() {
        WriteFile(outside / "secret", "secret");
        WriteFile(root / "a/page.htm", "page");
        fs::create_symlink("page.htm", root / "a/inner-link");
        fs::create_directory_symlink("a", root / "inner-dir");
        fs::create_symlink(outside / "secret", root / "a/shadow.txt");
        fs::create_symlink("../../" + fs::path(outside.Path()).filename().string() + "/secret",
                           root / "a/relative-out");
        fs::create_directory_symlink(outside.Path(), root / "14");
    }
    TempDir outside;
    TempDir root;
};

using Strategy = std::function<int(int, const std::string&, int, mode_t)>;

// What each way of confining makes of the tree: both refuse everything that leads
// out; only the kernel's lookup follows the links that stay inside.
void ExpectConfined(const Strategy& open, bool followsInnerLinks) {
    Tree tree;
    const UniqueFd rootFd(::open(tree.root.Path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    const auto opens = [&](const std::string& relative) {
        const UniqueFd fd(open(rootFd.Get(), relative, O_RDONLY | O_NONBLOCK, 0));
        return fd.Valid();
    };
    EXPECT_TRUE(opens("a/page.htm"));
    EXPECT_TRUE(opens("./a//page.htm"));
    EXPECT_EQ(opens("a/inner-link"), followsInnerLinks);
    EXPECT_EQ(opens("inner-dir/page.htm"), followsInnerLinks);
    for (const char* out : {"a/shadow.txt", "a/relative-out", "14/secret", "../x/secret",
                            "a/../../secret", "/etc/passwd"}) {
        EXPECT_FALSE(opens(out)) << out;
    }
    // Creating through a link out of the root fails and makes nothing outside.
    EXPECT_LT(open(rootFd.Get(), "14/new", O_WRONLY | O_CREAT | O_EXCL, 0644), 0);
    EXPECT_FALSE(fs::exists(tree.outside / "new"));
}

TEST(RootedFiles, BothWaysOfConfiningKeepLookupsInsideTheRoot) {
    if (beneath::OpenWithOpenat2(AT_FDCWD, ".", O_PATH, 0) < 0 && errno == ENOSYS) {
        GTEST_SKIP() << "this kernel has no openat2; the walk is tested below";
    }
    ExpectConfined(beneath::OpenWithOpenat2, true);
    ExpectConfined(beneath::OpenByWalk, false);
}

TEST(RootedFiles, WholePathsMustStartWithTheRoot) {
    Tree tree;
    const std::string& root = tree.root.Path();
    EXPECT_EQ(ReadFileBeneath(root, root + "a/page.htm"), "page");
    EXPECT_FALSE(ReadFileBeneath(root, tree.outside / "secret"));
    EXPECT_EQ(errno, EXDEV);
    EXPECT_FALSE(ReadFileBeneath(root, root + "/etc/passwd"));
    EXPECT_FALSE(ReadFileBeneath(root, root + "a/shadow.txt"));
    EXPECT_FALSE(IsFileBeneath(root, root + "a/shadow.txt"));
    EXPECT_TRUE(IsFileBeneath(root, root + "a/inner-link"));
    EXPECT_FALSE(IsFileBeneath(root, root + "a"));
    // A link is a name taken, wherever it leads.
    EXPECT_TRUE(ExistsBeneath(root, root + "a/shadow.txt"));
    EXPECT_FALSE(ExistsBeneath(root, root + "a/none"));
    EXPECT_FALSE(ExistsBeneath(root, root + "14/secret"));
}

TEST(RootedFiles, ChangesStayInsideTheRoot) {
    Tree tree;
    const std::string& root = tree.root.Path();
    // Removing a link removes the link; removing through a linked folder fails.
    EXPECT_EQ(RemoveFileBeneath(root, root + "a/shadow.txt"), 0);
    EXPECT_FALSE(fs::is_symlink(root + "a/shadow.txt"));
    EXPECT_NE(RemoveFileBeneath(root, root + "14/secret"), 0);
    EXPECT_EQ(RemoveFileBeneath(root, root + "a/missing"), ENOENT);

    EXPECT_TRUE(MakeDirectoriesBeneath(root, root + "new/deeper/"));
    EXPECT_TRUE(fs::is_directory(root + "new/deeper"));
    EXPECT_TRUE(MakeDirectoriesBeneath(root, root + "inner-dir/made"));
    EXPECT_TRUE(fs::is_directory(root + "a/made"));
    EXPECT_FALSE(MakeDirectoriesBeneath(root, root + "14/made"));

    ASSERT_TRUE(WriteFileBeneath(root, root + "new/f", "one").ok());
    EXPECT_EQ(ReadFile(root + "new/f"), "one");
    const Status out = WriteFileBeneath(root, root + "14/secret", "overwritten");
    EXPECT_FALSE(out.ok());
    EXPECT_NE(out.message().find("14/secret"), std::string::npos);
    // A link of the target's name, or a planted temporary file, is replaced.
    fs::create_symlink(tree.outside / "secret", root + "new/g");
    ASSERT_TRUE(WriteFileBeneath(root, root + "new/g", "two").ok());
    fs::create_symlink(tree.outside / "secret", root + "new/fixed.tmp");
    ASSERT_TRUE(WriteFileBeneath(root, root + "new/f", "three",
                                 ReplaceOptions{Durability::Synced, "fixed.tmp", {}})
                    .ok());
    EXPECT_EQ(ReadFile(root + "new/g"), "two");
    EXPECT_EQ(ReadFile(root + "new/f"), "three");
    EXPECT_FALSE(fs::exists(root + "new/fixed.tmp"));
    EXPECT_EQ(ReadFile(tree.outside / "secret"), "secret");
    EXPECT_FALSE(fs::exists(tree.outside / "made"));
}

}  // namespace
}  // namespace arkivo
