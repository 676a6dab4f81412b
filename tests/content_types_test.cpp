#include "model/content_types.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

const std::string Header = std::string(MimeTypeFileHeader) + "\r\n";

class ContentTypes : public ::testing::Test {
  protected:
    void SetUp() override { LoadMimeTypes(dir.Path()); }
    std::string DatPath() const { return dir / "MIMETYPE.DAT"; }
    TempDir dir;
};

TEST_F(ContentTypes, BuiltInTableKeepsItsOrder) {
    EXPECT_EQ(MimeTypeCount(), 72);
    const std::pair<int, const char*> spots[] = {{1, "text/html"},
                                                 {2, "image/gif"},
                                                 {3, "image/jpeg"},
                                                 {4, "text/plain"},
                                                 {21, "video/x-sgi-movie"},
                                                 {26, "audio/x-wav"},
                                                 {33, "application/msword"},
                                                 {40, "application/octet-stream"},
                                                 {58, "application/octet-string"},
                                                 {61, "www/unknown"},
                                                 {62, "x-world/x-vrml"},
                                                 {66, "image/png"},
                                                 {67, "application/pdf"},
                                                 {72, "application/exe"}};
    for (const auto& [code, type] : spots) {
        EXPECT_EQ(ContentTypeOf(code), type) << code;
        EXPECT_EQ(ContentCodeOf(type), code) << type;
    }
}

TEST_F(ContentTypes, LookupIgnoresCaseAndTrimsBlanks) {
    EXPECT_EQ(ContentCodeOf("TEXT/HTML"), 1);
    EXPECT_EQ(ContentCodeOf(" text/html "), 1);
    EXPECT_EQ(ContentCodeOf("\ttext/html\x7f\x80"), 1);
    EXPECT_EQ(ContentCodeOf(""), 1);
    EXPECT_EQ(ContentCodeOf("   "), 1);
}

TEST_F(ContentTypes, NewTypeIsAppendedToTheFileAndKeepsItsCodeAfterARestart) {
    EXPECT_EQ(ContentCodeOf("image/x-new"), 73);
    EXPECT_EQ(ReadFile(DatPath()), Header + "image/x-new\r\n");
    EXPECT_EQ(ContentCodeOf("Image/X-Other"), 74);
    EXPECT_EQ(ReadFile(DatPath()), Header + "image/x-new\r\nImage/X-Other\r\n");

    LoadMimeTypes(dir.Path());
    EXPECT_EQ(MimeTypeCount(), 74);
    EXPECT_EQ(ContentCodeOf("image/x-new"), 73);
    EXPECT_EQ(ContentCodeOf("image/x-other"), 74);
    EXPECT_EQ(ContentTypeOf(74), "Image/X-Other");
}

TEST_F(ContentTypes, TypesTooShortOrWithoutSlashAreNotAdded) {
    EXPECT_EQ(ContentCodeOf("ab"), 0);
    EXPECT_EQ(ContentCodeOf("abc"), 0);
    EXPECT_FALSE(FileExists(DatPath()));
    EXPECT_EQ(ContentCodeOf("a/b"), 73);
}

TEST_F(ContentTypes, LoadingKeepsLinesAsTheyStandAndSkipsTheHeaderWhateverItSays) {
    WriteFile(DatPath(), "anything\r\nx/one\r\n\r\n  x/two  \nx/three");
    LoadMimeTypes(dir.Path());
    EXPECT_EQ(MimeTypeCount(), 76);
    EXPECT_EQ(ContentTypeOf(73), "x/one");
    EXPECT_EQ(ContentTypeOf(74), "");
    EXPECT_EQ(ContentTypeOf(75), "  x/two  ");
    EXPECT_EQ(ContentTypeOf(76), "x/three");

    // The next addition starts on a line of its own even though the file did not end with one.
    EXPECT_EQ(ContentCodeOf("x/four"), 77);
    LoadMimeTypes(dir.Path());
    EXPECT_EQ(ContentTypeOf(77), "x/four");
}

TEST_F(ContentTypes, TheTableNeverGrowsPastTheEightBitCodes) {
    for (int i = MimeTypeCount(); i < MaxContentCode; ++i) {
        ASSERT_EQ(ContentCodeOf("x/type" + std::to_string(i)), i + 1);
    }
    const std::string before = ReadFile(DatPath());
    EXPECT_EQ(ContentCodeOf("x/one-too-many"), 0);
    EXPECT_EQ(ReadFile(DatPath()), before);

    // A file with more lines than codes loads only as many as fit.
    WriteFile(DatPath(), before + "x/extra\r\n");
    LoadMimeTypes(dir.Path());
    EXPECT_EQ(MimeTypeCount(), MaxContentCode);
}

TEST_F(ContentTypes, ATypeThatCannotBeWrittenDownStaysUnclassifiedAndSaysWhy) {
    // root writes through directory permissions: a directory below a file cannot be made.
    WriteFile(dir / "a-file", "");
    LoadMimeTypes(dir / "a-file/types/");
    EXPECT_EQ(ContentCodeOf("image/x-new"), 0);
    EXPECT_EQ(ContentCodeOf("image/x-new"), 0);
    EXPECT_NE(MimeTypeRecordingError().find("\"image/x-new\" in " + dir / "a-file/types/"),
              std::string::npos)
        << MimeTypeRecordingError();
}

TEST_F(ContentTypes, ANewFileStartsFromTheCopyCarriedOverSoOldCodesKeepTheirMeaning) {
    WriteFile(dir / "program/MIMETYPE.DAT", Header + "x/old");
    LoadMimeTypes(dir / "user/", dir / "program/");
    EXPECT_EQ(ContentTypeOf(73), "x/old");
    EXPECT_EQ(ContentCodeOf("x/new"), 74);
    EXPECT_EQ(ReadFile(dir / "user/MIMETYPE.DAT"), Header + "x/old\r\nx/new\r\n");
    EXPECT_EQ(ReadFile(dir / "program/MIMETYPE.DAT"), Header + "x/old");

    LoadMimeTypes(dir / "user/", dir / "program/");
    EXPECT_EQ(ContentTypeOf(74), "x/new");
}

// Both processes load the table, then both add a type: the second must see the first's.
TEST_F(ContentTypes, ProcessesAddingAtOnceGiveDifferentTypesDifferentCodes) {
    const std::string types[] = {"x/first", "x/second"};
    LoadMimeTypes(dir.Path());
    const std::vector<int> codes =
        testing::RunAtOnce(2, [&](int i) { return ContentCodeOf(types[i]); });
    LoadMimeTypes(dir.Path());
    EXPECT_NE(codes[0], codes[1]);
    EXPECT_EQ(ContentTypeOf(codes[0]), types[0]);
    EXPECT_EQ(ContentTypeOf(codes[1]), types[1]);
}

TEST_F(ContentTypes, CodeOutsideTheTableReadsAsPlainText) {
    EXPECT_EQ(ContentTypeOf(0), "text/plain");
    EXPECT_EQ(ContentTypeOf(73), "text/plain");
    EXPECT_EQ(ContentTypeOf(-1), "text/plain");
    EXPECT_EQ(MajorTypeOf(0), "text");
}

TEST_F(ContentTypes, FolderClassAndGroup) {
    EXPECT_EQ(MajorTypeOf(62), "x-world");
    EXPECT_EQ(MajorTypeOf(61), "www");
    EXPECT_EQ(MajorTypeOf(44), "application");
    EXPECT_EQ(FileClassOf(62), FileClass::Other);
    EXPECT_EQ(FileClassOf(61), FileClass::Other);
    EXPECT_EQ(FileClassOf(1), FileClass::Text);
    EXPECT_EQ(FileClassOf(3), FileClass::Image);
    EXPECT_EQ(FileClassOf(27), FileClass::Audio);
    EXPECT_EQ(FileClassOf(24), FileClass::Video);

    const int added = ContentCodeOf("Image/X-New");
    EXPECT_EQ(FileClassOf(added), FileClass::Other);
    EXPECT_EQ(ContentGroupOf("Image/X-New"), MediaGroup);
    EXPECT_EQ(ContentGroupOf("TEXT/whatever"), TextGroup);
    EXPECT_EQ(ContentGroupOf("video"), MediaGroup);
    EXPECT_EQ(ContentGroupOf(""), OtherGroup);
    EXPECT_EQ(ContentGroupOf("application/zip"), OtherGroup);

    WriteFile(DatPath(), Header + "noslash\r\n");
    LoadMimeTypes(dir.Path());
    EXPECT_EQ(MajorTypeOf(73), "other");
}

TEST(ExtensionTable, GivesEachBuiltInCodeItsExtension) {
    const TExtensionTable table = BuildExtensionTable();
    EXPECT_EQ(table.ExtensionOf(1), "htm");
    EXPECT_EQ(table.ExtensionOf(30), "ra");
    EXPECT_EQ(table.ExtensionOf(44), "zip");
    EXPECT_EQ(table.ExtensionOf(72), "exe");
    EXPECT_EQ(table.ExtensionOf(73), "htm");
    EXPECT_EQ(table.ExtensionOf(0), "htm");
}

}  // namespace
}  // namespace arkivo
