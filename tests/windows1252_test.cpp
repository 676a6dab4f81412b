#include "platform/windows1252.h"

#include <gtest/gtest.h>

namespace arkivo {
namespace {

TEST(Windows1252Test, AsciiPassesUnchanged) {
    EXPECT_EQ(Windows1252ToUtf8("Arkivo \r\n"), "Arkivo \r\n");
    EXPECT_EQ(Utf8ToWindows1252("Arkivo \r\n"), "Arkivo \r\n");
}

TEST(Windows1252Test, HighBytesFollowTheCodePage) {
    EXPECT_EQ(Windows1252ToUtf8("\x80"), "\u20AC");
    EXPECT_EQ(Windows1252ToUtf8("\x93quoted\x94"), "\u201Cquoted\u201D");
    EXPECT_EQ(Windows1252ToUtf8("caf\xE9"), "caf\u00E9");
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\u0081");
}

TEST(Windows1252Test, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
}

TEST(Windows1252Test, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToWindows1252("\u4E2D/x"), "?/x");
    EXPECT_EQ(Utf8ToWindows1252("\U0001F600"), "?");
    EXPECT_EQ(Utf8ToWindows1252("bad \xC3"), "bad ?");
    EXPECT_EQ(Utf8ToWindows1252("\xFF\xFE"), "??");
}

}  // namespace
}  // namespace arkivo
