#include "shell/directory_selection.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace arkivo {
namespace {

TEST(DirectorySelectionTest, SelectionGainsATrailingSeparator) {
    EXPECT_EQ(SelectionValue("/srv/archive"), "/srv/archive/");
    EXPECT_EQ(SelectionValue("/srv/archive/"), "/srv/archive/");
    EXPECT_EQ(SelectionValue(""), "");
}

TEST(DirectorySelectionTest, NormalizeDropsOneTrailingSeparatorButKeepsTheRoot) {
    EXPECT_EQ(NormalizeForSelection("/srv/archive/"), "/srv/archive");
    EXPECT_EQ(NormalizeForSelection("/srv/archive//"), "/srv/archive/");
    EXPECT_EQ(NormalizeForSelection("/srv/archive"), "/srv/archive");
    EXPECT_EQ(NormalizeForSelection("/"), "/");
    EXPECT_EQ(NormalizeForSelection(""), "");
}

TEST(DirectorySelectionTest, ExistingDirectoriesAreToldFromFilesAndText) {
    testing::TempDir dir;
    testing::WriteFile(dir / "file.txt", "x");
    EXPECT_TRUE(IsExistingDirectory(dir.Path()));
    EXPECT_TRUE(IsExistingDirectory(NormalizeForSelection(dir.Path())));
    EXPECT_TRUE(IsExistingDirectory("/"));
    EXPECT_FALSE(IsExistingDirectory(dir / "file.txt"));
    EXPECT_FALSE(IsExistingDirectory(dir / "missing/"));
    EXPECT_FALSE(IsExistingDirectory("Scanning..."));
    EXPECT_FALSE(IsExistingDirectory(""));
}

}  // namespace
}  // namespace arkivo
