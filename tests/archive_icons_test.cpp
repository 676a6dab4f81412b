#include "archive/archive_icons.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "index_test_items.h"
#include "model/file_utils.h"
#include "offline_index/index_builder.h"
#include "platform/file_system.h"
#include "platform/program_dir.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ArchivedItem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

class ArchiveIcons : public ::testing::Test {
  protected:
    void SetUp() override {
        // The program's own icons, each with text that tells it apart.
        for (std::string_view word : IconWords) {
            WriteFile(program / ("images/" + std::string(word) + ".gif"),
                      "GIF89a " + std::string(word));
        }
        SetProgramDirForTesting(program.Path());
    }

    std::string Icon(std::string_view name) {
        return archive / ("images/" + std::string(name) + ".gif");
    }

    TempDir program;
    TempDir archive;
};

TEST_F(ArchiveIcons, CopiesEveryIconUnderEverySpelling) {
    EnsureIcons(archive.Path());
    for (std::string_view word : IconWords) {
        EXPECT_EQ(ReadFile(Icon(word)), "GIF89a " + std::string(word));
    }
    for (std::string_view spelling : IconPageSpellings) {
        EXPECT_EQ(ReadFile(Icon(spelling)), "GIF89a " + LowerCase(spelling));
    }
}

TEST_F(ArchiveIcons, ExistingIconsStay) {
    WriteFile(Icon("arkivo"), "the user's banner");
    WriteFile(Icon("dImage"), "the user's button");
    EnsureIcons(archive.Path());
    EXPECT_EQ(ReadFile(Icon("arkivo")), "the user's banner");
    EXPECT_EQ(ReadFile(Icon("Arkivo")), "the user's banner");
    EXPECT_EQ(ReadFile(Icon("dImage")), "the user's button");
    EXPECT_EQ(ReadFile(Icon("dimage")), "GIF89a dimage");
}

TEST_F(ArchiveIcons, MissingProgramIconIsSkipped) {
    ASSERT_EQ(::unlink((program / "images/quenlogo.gif").c_str()), 0);
    EnsureIcons(archive.Path());
    EXPECT_FALSE(FileExists(Icon("quenlogo")));
    EXPECT_FALSE(FileExists(Icon("QuenLogo")));
    EXPECT_TRUE(FileExists(Icon("notfound")));
    EXPECT_TRUE(FileExists(Icon("Arkivo")));
}

// Every picture the generated pages show is a file of exactly that name.
TEST_F(ArchiveIcons, EveryPageReferenceResolves) {
    LoadMimeTypes(program.Path());
    TCacheItemList list;
    list.push_back(ArchivedItem("http://a.org:80/t.htm", "text/html", "t.htm"));
    list.push_back(ArchivedItem("http://a.org:80/i.gif", "image/gif", "i.gif"));
    list.push_back(ArchivedItem("http://a.org:80/s.wav", "audio/x-wav", "s.wav"));
    list.push_back(ArchivedItem("http://b.org:80/v.mpg", "video/mpeg", "v.mpg"));
    list.push_back(ArchivedItem("http://b.org:80/o.zip", "application/zip", "o.zip"));
    EnsureIcons(archive.Path());
    BuildOfflineIndex(archive.Path(), list, IndexProgress{});

    const std::regex reference("SRC=(?:\\.\\./)?images/([A-Za-z]+\\.gif)");
    std::set<std::string> seen;
    for (const char* page :
         {"indlist.htm", "indpage.htm", "a.org/text_index.htm", "a.org/image_index.htm",
          "a.org/audio_index.htm", "a.org/thumbnail_index.htm", "b.org/video_index.htm",
          "b.org/other_index.htm"}) {
        const std::string text = ReadFile(archive / page);
        for (std::sregex_iterator it(text.begin(), text.end(), reference), end; it != end; ++it) {
            seen.insert((*it)[1]);
        }
    }
    // Each kind's item icon and its up, down and grey buttons, the folders, banner, logo.
    EXPECT_EQ(seen.size(), 5u * 4u + 3u + 2u);
    for (const std::string& name : seen) {
        EXPECT_TRUE(FileExists(archive / ("images/" + name))) << name;
    }
}

}  // namespace
}  // namespace arkivo
