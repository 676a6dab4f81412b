#include "archive/archive_types.h"

#include <gtest/gtest.h>

#include "model/content_types.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

const std::string Header = std::string(MimeTypeFileHeader) + "\r\n";

TEST(ArchiveTypes, StoredCodesTakeTheMeaningOfTheArchivesOwnTable) {
    TempDir dir;
    LoadMimeTypes(dir / "types/");
    WriteFile(dir / "arch/archive_types.dat", Header + "x/a\r\nx/b\r\n");
    TArchiveTypes types(dir / "arch/");
    EXPECT_EQ(types.CodeOf(3), 3);
    EXPECT_EQ(types.CodeOf(74), 73);  // x/b, the first added here
    EXPECT_EQ(types.CodeOf(73), 74);
    EXPECT_EQ(types.CodeOf(200), 4);  // beyond the archive's table: text/plain
    EXPECT_TRUE(types.Failure().empty());
    EXPECT_EQ(TArchiveTypes(dir / "none/").CodeOf(200), 200);

    ASSERT_TRUE(WriteArchiveTypes(dir / "arch/").ok());
    EXPECT_EQ(ReadFile(dir / "arch/archive_types.dat"), Header + "x/b\r\nx/a\r\n");
}

TEST(ArchiveTypes, ATypeThatCannotBeRecordedIsAFailure) {
    TempDir dir;
    WriteFile(dir / "a-file", "");
    LoadMimeTypes(dir / "a-file/types/");
    WriteFile(dir / "arch/archive_types.dat", Header + "x/a\r\n");
    TArchiveTypes types(dir / "arch/");
    EXPECT_EQ(types.CodeOf(73), 0);
    EXPECT_NE(types.Failure().find("\"x/a\""), std::string::npos) << types.Failure();
}

}  // namespace
}  // namespace arkivo
