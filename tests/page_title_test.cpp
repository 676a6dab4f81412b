#include "rewriter/page_title.h"

#include <gtest/gtest.h>

#include <string>

namespace arkivo {
namespace {

struct TitleCase {
    const char* name;
    std::string page;
    std::string title;
};

void PrintTo(const TitleCase& c, std::ostream* os) {
    *os << c.name;
}

class ExtractTitleCases : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ExtractTitleCases, ReadsTheTitle) {
    EXPECT_EQ(ExtractTitle(GetParam().page), GetParam().title);
}

const std::string Long(150, 'x');

INSTANTIATE_TEST_SUITE_P(
    Pages, ExtractTitleCases,
    ::testing::Values(
        TitleCase{"InnerSpacesStayLineEndsGo", "<HTML><HEAD><TITLE>  My   page \r\n</TITLE></HEAD>",
                  "My   page"},
        TitleCase{"TabsInsideAreDropped", "<title>a\tb\nc</title>", "abc"},
        TitleCase{"CutTo100", "<title>" + Long + "</title>", Long.substr(0, 100)},
        TitleCase{"DroppedBytesDoNotCount", "<title>" + std::string(300, '\n') + Long,
                  Long.substr(0, 100)},
        TitleCase{"NoTitleTag", "<html><body>Title</body></html>", ""},
        TitleCase{"EmptyPage", "", ""},
        TitleCase{"AnyCaseAndBlanksInTheTag", "< Title >Hello<", "Hello"},
        TitleCase{"AttributesBeyond15Bytes", "<TITLE LANG=\"en-us-long\">T</TITLE>", "T"},
        TitleCase{"EndsAtTheNextTag", "<title>Plain <b>bold</b></title>", "Plain"},
        TitleCase{"PageEndsInsideTitle", "<title>abc", "abc"},
        TitleCase{"PageEndsInsideTag", "<title", ""},
        TitleCase{"NulBytesDropped", std::string("<title>a\0b</title>", 18), "ab"},
        TitleCase{"ClosedCommentSkipped", "<!-- <title>No</title> --><title>Yes</title>", "Yes"},
        TitleCase{"UnclosedCommentEndsAtItsFirstGt", "<!-- note > <title>Shown</title>", "Shown"},
        TitleCase{"EmptyCommentIsNotClosedByItself", "<!--><title>No</title>-->", ""}));

}  // namespace
}  // namespace arkivo
