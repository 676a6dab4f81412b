#include "readers/netscape_text_index.h"

#include <gtest/gtest.h>

#include <vector>

namespace arkivo {
namespace {

struct FieldCase {
    const char* line;
    const char* field;
    const char* rest;
};

class NextIndexFieldCases : public ::testing::TestWithParam<FieldCase> {};

TEST_P(NextIndexFieldCases, TakesOneFieldOffTheFront) {
    std::string line = GetParam().line;
    EXPECT_EQ(NextIndexField(line), GetParam().field);
    EXPECT_EQ(line, GetParam().rest);
}

INSTANTIATE_TEST_SUITE_P(Cases, NextIndexFieldCases,
                         ::testing::Values(FieldCase{"", "", ""}, FieldCase{"\x01\x02\t", "", ""},
                                           FieldCase{"\t\tabc\tdef", "abc", "def"},
                                           FieldCase{"a b c\r", "a b c", ""},
                                           FieldCase{"abc", "ab", ""},
                                           FieldCase{"url\x7F"
                                                     "x",
                                                     "url", "x"}));

std::vector<std::string> Lines(std::string_view text) {
    IndexLineReader reader(text);
    std::vector<std::string> lines;
    while (!reader.AtEnd()) {
        lines.push_back(reader.ReadIndexLine());
    }
    return lines;
}

TEST(ReadIndexLine, SkipsEmptyLinesAndKeepsTheLineEnd) {
    EXPECT_EQ(Lines("\r\n\r\nabc\r\ndef\n"), (std::vector<std::string>{"abc\r", "def\n"}));
    EXPECT_EQ(Lines("abc\ndef"), (std::vector<std::string>{"abc\n", "def"}));
}

TEST(ReadIndexLine, LosesASingleCharacterAtTheEnd) {
    EXPECT_EQ(Lines("abc\nx"), (std::vector<std::string>{"abc\n", ""}));
}

TEST(ReadIndexLine, CutsLongLinesTo255Characters) {
    const std::string line(300, 'a');
    const auto lines = Lines(line + "\nb\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], line.substr(0, 255));
    EXPECT_EQ(lines[1], "b\n");
}

// CR, LF and CR LF each end one line; skipped empty lines and the cut rest of a
// long line count as they stand in the file.
TEST(ReadIndexLine, NumbersLinesAsTheFileHasThem) {
    const std::string text = "sig\r\n\r\nabc\rdef\n\nghi\r\n" + std::string(300, 'a') + "\r\nz\n";
    IndexLineReader reader(text);
    std::vector<std::pair<std::string, std::size_t>> lines;
    while (!reader.AtEnd()) {
        const std::string line = reader.ReadIndexLine();
        lines.emplace_back(line.substr(0, 3), reader.LineNumber());
    }
    EXPECT_EQ(lines, (std::vector<std::pair<std::string, std::size_t>>{
                         {"sig", 1}, {"abc", 3}, {"def", 4}, {"ghi", 6}, {"aaa", 7}, {"z\n", 8}}));
}

std::vector<NetscapeEntry> Entries(std::string_view text, int* pending = nullptr) {
    std::vector<NetscapeEntry> entries;
    ReadTextIndex(
        text, [&](const NetscapeEntry& entry) { entries.push_back(entry); },
        [pending] {
            if (pending != nullptr) {
                ++*pending;
            }
        });
    return entries;
}

TEST(ReadTextIndex, TakesFieldsThreeToSix) {
    const auto entries = Entries(
        "MCOM-Cache-file-allocation-table-format-1\r\n"
        "1\t0\t850000000\tC:\\NETSCAPE\\CACHE\\M0X3QSO1.GIF\thttp://a.example/b c.gif\t"
        "Image/GIF\t1234\t\r\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Url, "http://a.example/b c.gif");
    EXPECT_EQ(entries[0].FileName, "M0X3QSO1.GIF");
    EXPECT_EQ(entries[0].ContentType, "image/gif");
    EXPECT_EQ(entries[0].Time, 850000000);
}

TEST(ReadTextIndex, NeedsSomethingAfterTheSeventhField) {
    const std::string seven = "1\t0\t5\t/c/F1\thttp://a.example/\ttext/html\t9";
    EXPECT_TRUE(Entries("MCOM-CACHE\n" + seven + "\r\n").empty());
    EXPECT_EQ(Entries("MCOM-CACHE\n" + seven + "\tx\r\n").size(), 1u);
}

TEST(ReadTextIndex, InvalidTimeGivesZero) {
    for (const char* time : {"12x", "-", "99999999999"}) {
        const auto entries =
            Entries(std::string("MCOM-CACHE\n1\t0\t") + time + "\tF1\thttp://a/\tt/h\t9\t\n");
        ASSERT_EQ(entries.size(), 1u) << time;
        EXPECT_EQ(entries[0].Time, 0) << time;
    }
}

TEST(ReadTextIndex, LetsMessagesThroughEveryFifthLine) {
    std::string text = "MCOM-CACHE\n";
    for (int i = 0; i < 12; ++i) {
        text += "1\t0\t5\tF" + std::to_string(i) + "\thttp://a/\tt/h\t9\t\n";
    }
    int pending = 0;
    EXPECT_EQ(Entries(text, &pending).size(), 12u);
    EXPECT_EQ(pending, 3);  // before lines 1, 6 and 11
}

}  // namespace
}  // namespace arkivo
