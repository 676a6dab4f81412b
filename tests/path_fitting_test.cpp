#include "shell/path_fitting.h"

#include <gtest/gtest.h>

namespace arkivo {
namespace {

// Every character is 7 pixels wide.
int FakeWidth(std::string_view text) {
    return static_cast<int>(text.size()) * 7;
}

int WidthOf(std::string_view text) {
    return FakeWidth(text);
}

TEST(ElideFirstDirectoryTest, StepsThroughTheDirectories) {
    EXPECT_EQ(ElideFirstDirectory("/home/me/Web Tools/"), "/.../me/Web Tools/");
    EXPECT_EQ(ElideFirstDirectory("/.../me/Web Tools/"), "/.../Web Tools/");
    EXPECT_EQ(ElideFirstDirectory("/.../Web Tools/"), "/.../");
    EXPECT_EQ(ElideFirstDirectory(".../"), "");
}

TEST(ElideFirstDirectoryTest, RootAndSingleDirectoriesBecomeEmpty) {
    EXPECT_EQ(ElideFirstDirectory("/"), "");
    EXPECT_EQ(ElideFirstDirectory("docs/"), ".../");
    EXPECT_EQ(ElideFirstDirectory("docs"), "");
}

TEST(ElideFirstDirectoryTest, HiddenDirectoriesAreNotMistakenForAnEllipsis) {
    EXPECT_EQ(ElideFirstDirectory("/.cache/arkivo/"), "/.../arkivo/");
    EXPECT_EQ(ElideFirstDirectory("/.../.c/x/"), "/.../x/");
}

TEST(FitPathToWidthTest, StopsAtTheFirstShorteningThatFits) {
    const std::string path = "/home/me/Web Tools/Archive";
    const std::vector<std::string> steps = {"/home/me/Web Tools/Archive",
                                            "/.../me/Web Tools/Archive",
                                            "/.../Web Tools/Archive",
                                            "/.../Archive",
                                            ".../Archive",
                                            "Archive"};
    for (const std::string& expected : steps) {
        EXPECT_EQ(FitPathToWidth(path, WidthOf(expected), FakeWidth), expected);
    }
}

TEST(FitPathToWidthTest, KeepsTheFileNameEvenWhenNothingFits) {
    EXPECT_EQ(FitPathToWidth("/home/me/Archive", 0, FakeWidth), "Archive");
    EXPECT_EQ(FitPathToWidth("Archive", 0, FakeWidth), "Archive");
}

TEST(FitPathToWidthTest, ADirectoryWithTrailingSeparatorKeepsItsLastName) {
    EXPECT_EQ(FitPathToWidth("/srv/archive/", WidthOf("/.../"), FakeWidth), "/.../");
    EXPECT_EQ(FitPathToWidth("/srv/archive/", 0, FakeWidth), "");
}

TEST(FitTextToWidthTest, CutsCharacterByCharacterAndAddsAnEllipsis) {
    EXPECT_EQ(FitTextToWidth("Scanning", WidthOf("Sc..."), FakeWidth), "Sc...");
    EXPECT_EQ(FitTextToWidth("Scanning", 0, FakeWidth), "...");
    EXPECT_EQ(FitTextToWidth("", 0, FakeWidth), "");
}

TEST(FitTextToWidthTest, AMeasureThatKnowsNothingKeepsTheText) {
    const TextWidthMeasure unmeasurable = [](std::string_view) { return 0; };
    EXPECT_EQ(FitTextToWidth("Scanning", 10, unmeasurable), "Scanning");
    EXPECT_EQ(FitPathToWidth("/a/b/c", 1, unmeasurable), "/a/b/c");
}

}  // namespace
}  // namespace arkivo
