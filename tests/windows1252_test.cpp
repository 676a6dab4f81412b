#include "platform/windows1252.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "support/test_support.h"

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

TEST(Utf8Test, OnlyWellFormedSequencesAreValid) {
    for (const char* valid : {"", "plain", "caf\xC3\xA9", "\xE2\x82\xAC", "\xED\x9F\xBF",
                              "\xEE\x80\x80", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(IsValidUtf8(valid)) << valid;
    }
    const std::vector<std::string> invalid = {
        "\xED\xA0\x80",          // a surrogate
        "\xED\xBF\xBF",          // the last surrogate
        "\xF4\x90\x80\x80",      // past U+10FFFF
        "\xF5\x80\x80\x80",      // a lead byte past F4
        "\xF7\xBF\xBF\xBF",      // the lead byte F7
        "\xE0\x80\xAF",          // overlong "/"
        "\xC0\xAF",              // overlong "/"
        "\xC1\xBF",              // overlong
        "\xF0\x8F\xBF\xBF",      // overlong U+FFFF
        "\x80",                  // a continuation byte alone
        "\xC3",                  // cut short
        "\xE2\x82",              // cut short
        "\xE2\x28\xA1",          // a bad continuation
        "\xF8\x88\x80\x80\x80",  // five bytes
        "\xFF",
    };
    for (const std::string& bytes : invalid) {
        EXPECT_FALSE(IsValidUtf8(bytes)) << ::testing::PrintToString(bytes);
        EXPECT_FALSE(IsValidUtf8("ok " + bytes + " ok")) << ::testing::PrintToString(bytes);
    }
}

// Every two-byte start, followed by each pair of a few telling bytes, judged by
// Python's strict UTF-8 decoder and by ours.
TEST(Utf8Test, AgreesWithAStrictDecoder) {
    if (testing::RunCommand("python3 -c pass").Status != 0) {
        GTEST_SKIP() << "python3 is not installed";
    }
    testing::TempDir dir;
    const unsigned char tails[] = {0x41, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0};
    std::string all;
    std::vector<bool> ours;
    for (int first = 0x80; first < 0x100; ++first) {
        for (int second = 0; second < 0x100; ++second) {
            for (const unsigned char third : tails) {
                for (const unsigned char fourth : tails) {
                    const std::string bytes = {static_cast<char>(first), static_cast<char>(second),
                                               static_cast<char>(third), static_cast<char>(fourth)};
                    all += bytes;
                    ours.push_back(IsValidUtf8(bytes));
                }
            }
        }
    }
    testing::WriteFile(dir / "candidates", all);
    const auto verdicts = testing::RunCommand(
        "python3 -c \"import sys\n"
        "data = open(sys.argv[1], 'rb').read()\n"
        "def ok(b):\n"
        "    try:\n"
        "        b.decode('utf-8')\n"
        "        return '1'\n"
        "    except UnicodeDecodeError:\n"
        "        return '0'\n"
        "print(''.join(ok(data[i:i + 4]) for i in range(0, len(data), 4)))\" '" +
        (dir / "candidates") + "'");
    ASSERT_EQ(verdicts.Status, 0);
    ASSERT_EQ(verdicts.Output.size(), ours.size() + 1);
    std::size_t disagreements = 0;
    for (std::size_t i = 0; i < ours.size(); ++i) {
        disagreements += (verdicts.Output[i] == '1') != ours[i];
    }
    EXPECT_EQ(disagreements, 0u);
}

}  // namespace
}  // namespace arkivo
