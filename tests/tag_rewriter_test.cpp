#include "rewriter/tag_rewriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/content_types.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

struct WordCase {
    std::string text;
    std::size_t from;
    std::string word;
    std::size_t next;
};

class NextWordCases : public ::testing::TestWithParam<WordCase> {};

TEST_P(NextWordCases, SkipsSeparatorsAndStopsAfterTheWord) {
    const WordCase& c = GetParam();
    std::size_t pos = c.from;
    EXPECT_EQ(NextWord(c.text, pos), c.word) << c.text;
    EXPECT_EQ(pos, c.next) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, NextWordCases,
                         ::testing::Values(WordCase{"A HREF=x>", 0, "A", 1},
                                           WordCase{"A HREF=x>", 1, "HREF", 6},
                                           WordCase{"  /a>", 0, "/a", 4},
                                           WordCase{"=<\"Src>", 0, "Src", 6},
                                           WordCase{"\tIMG\x80SRC>", 0, "IMG", 4},
                                           WordCase{std::string("\0IMG>", 5), 0, "IMG", 4},
                                           // The last byte never belongs to a word.
                                           WordCase{"ABC", 0, "AB", 2}, WordCase{"   >", 0, "", 4},
                                           WordCase{"", 0, "", 0}));

struct ValueCase {
    std::string text;
    std::size_t from;
    std::string value;
    std::size_t start;
    std::size_t next;
    bool terminated;
};

class ReadValueCases : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ReadValueCases, LeavesThePositionOnTheTerminator) {
    const ValueCase& c = GetParam();
    std::size_t pos = c.from;
    const TagValue value = ReadValue(c.text, pos);
    EXPECT_EQ(value.Text, c.value) << c.text;
    EXPECT_EQ(value.Start, c.start) << c.text;
    EXPECT_EQ(pos, c.next) << c.text;
    EXPECT_EQ(value.Terminated, c.terminated) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadValueCases,
    ::testing::Values(ValueCase{"A HREF=\"page.htm\">", 6, "page.htm", 8, 16, true},
                      ValueCase{"A HREF=page.htm>", 6, "page.htm", 7, 15, true},
                      ValueCase{"A HREF = page.htm >", 6, "page.htm", 9, 17, true},
                      ValueCase{"A HREF=\"my page.htm\">", 6, "my", 8, 10, true},
                      ValueCase{"A HREF=a<b>", 6, "a", 7, 8, true},
                      ValueCase{"A HREF=a\tb.htm>", 6, "ab.htm", 7, 14, true},
                      ValueCase{"A HREF=\"a\r\nb\">", 6, "ab", 8, 12, true},
                      ValueCase{"A HREF=\"\">", 6, "", 8, 8, true},
                      ValueCase{"A HREF=>", 6, "", 8, 8, false},
                      ValueCase{"A HREF=\"page", 6, "page", 8, 12, false}));

constexpr const char* Base = "host:80/dir/";
const std::string LongName = std::string(300, 'q') + ".htm";

class RewriteTagTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadMimeTypes(types.Path());
        Add(jobItems, "http://host:80/dir/page.htm", "host", "page.htm", "text/html");
        Add(jobItems, "http://host:80/dir/pic.gif", "host", "pic.gif", "image/gif");
        Add(jobItems, "http://host:80/dir/sub/", "host", "sub.htm", "text/html");
        Add(jobItems, "http://host:80/movie.avi", "host", "movie.avi", "video/x-msvideo");
        Add(jobItems, "http://host:80/dir/" + LongName, "host", "long.htm", "text/html");
        Add(list, "http://other:80/dir/x.htm", "other", "x.htm", "text/html");
        for (const auto& item : jobItems) {
            job.push_back(item.get());
        }
    }

    static void Add(TCacheItemList& items, std::string url, std::string domain, std::string name,
                    std::string_view type) {
        auto item = std::make_unique<TCacheItem>();
        item->Url = std::move(url);
        item->ArchiveName = std::move(name);
        item->Kind = ContentCodeOf(type);
        item->Domain = std::move(domain);
        items.push_back(std::move(item));
    }

    testing::TempDir types;
    TCacheItemList jobItems;
    std::vector<TCacheItem*> job;
    TCacheItemList list;
};

struct TagCase {
    const char* name;
    std::string tag;
    std::string rewritten;
    bool archived = false;
    bool unarchived = false;
    bool showOriginalUrls = true;
};

void PrintTo(const TagCase& c, std::ostream* os) {
    *os << c.name;
}

class RewriteTagCases : public RewriteTagTest, public ::testing::WithParamInterface<TagCase> {};

TEST_P(RewriteTagCases, RewritesLinkValuesOnly) {
    const TagCase& c = GetParam();
    LinkOptions options;
    options.ShowOriginalUrls = c.showOriginalUrls;
    std::string tag = c.tag;
    std::string base = Base;
    const LinkFlags flags = RewriteTag(tag, base, options, ArchiveLinkMap(job, list));
    EXPECT_EQ(tag, c.rewritten);
    EXPECT_EQ(flags.ArchivedLink, c.archived);
    EXPECT_EQ(flags.UnarchivedLink, c.unarchived);
    EXPECT_EQ(base, Base);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, RewriteTagCases,
    ::testing::Values(
        TagCase{"ArchivedPage", "A HREF=\"page.htm\">", "A HREF=\"../../host/text/page.htm\">",
                true},
        TagCase{"UnquotedAnyCase", "a href=page.htm>", "a href=../../host/text/page.htm>", true},
        TagCase{"TabInUnquotedValueDropped", "A HREF=pa\tge.htm>",
                "A HREF=../../host/text/page.htm>", true},
        TagCase{"SlashAppendedMatch", "A HREF=\"sub\">", "A HREF=\"../../host/text/sub.htm\">",
                true},
        TagCase{"MendedScheme", "A HREF=\"http//host/dir/page.htm\">",
                "A HREF=\"../../host/text/page.htm\">", true},
        TagCase{"SecureSchemeTakenAsPlain", "A HREF=\"https://host/dir/page.htm\">",
                "A HREF=\"../../host/text/page.htm\">", true},
        TagCase{"UnarchivedShowsOriginalUrl", "A HREF=\"missing.htm\">",
                "A HREF=\"http://host/dir/missing.htm\">", false, true},
        TagCase{"UnarchivedRootLink", "A HREF=\"/x.htm\">", "A HREF=\"http://host/x.htm\">", false,
                true},
        TagCase{"UnarchivedNotFound", "A HREF=\"missing.htm\">", "A HREF=\"../../notfound.htm\">",
                false, true, false},
        TagCase{"QuotedValueWithSpace", "A HREF=\"my page.htm\">",
                "A HREF=\"http://host/dir/my page.htm\">", false, true},
        TagCase{"SingleQuotedValue", "A HREF='page.htm'>", "A HREF='../../host/text/page.htm'>",
                true},
        TagCase{"BlanksAroundValueTrimmed", "A HREF=\"  page.htm\t\" TARGET=x>",
                "A HREF=\"  ../../host/text/page.htm\t\" TARGET=x>", true},
        TagCase{"LineEndEndsUnquotedValue", "A HREF=page.htm\r\nTARGET=_top>",
                "A HREF=../../host/text/page.htm\r\nTARGET=_top>", true},
        TagCase{"NamesInsideOtherValuesStay", "A TITLE=\"SRC=x HREF=y\" HREF=page.htm ALT='SRC=z'>",
                "A TITLE=\"SRC=x HREF=y\" HREF=../../host/text/page.htm ALT='SRC=z'>", true},
        TagCase{"FragmentKeptOnArchivedLink", "A HREF=\"page.htm#part\">",
                "A HREF=\"../../host/text/page.htm#part\">", true},
        TagCase{"FragmentCutTo50", "A HREF=\"page.htm#" + std::string(60, 'f') + "\">",
                "A HREF=\"../../host/text/page.htm#" + std::string(49, 'f') + "\">", true},
        TagCase{"FragmentDroppedOnNotFound", "A HREF=\"missing.htm#part\">",
                "A HREF=\"../../notfound.htm\">", false, true, false},
        TagCase{"FragmentDroppedOnOriginalUrl", "A HREF=\"missing.htm#part\">",
                "A HREF=\"http://host/dir/missing.htm\">", false, true},
        TagCase{"FragmentKeptOnUsemap", "IMG USEMAP=\"page.htm#map\">",
                "IMG USEMAP=\"../../host/text/page.htm#map\">"},
        TagCase{"OwnFragmentStays", "A HREF=\"#top\">", "A HREF=\"#top\">"},
        TagCase{"MailtoStays", "A HREF=\"mailto:x\">", "A HREF=\"mailto:x\">"},
        TagCase{"UpperMailtoStays", "A HREF=\"MAILTO:x\">", "A HREF=\"MAILTO:x\">"},
        TagCase{"NewsStays", "A HREF=\"news:x\">", "A HREF=\"news:x\">"},
        TagCase{"JavascriptStays", "A HREF=\"javascript:void(0)\">",
                "A HREF=\"javascript:void(0)\">"},
        TagCase{"JavascriptStaysWithoutOriginalUrls", "A HREF='JavaScript:go(\"x.htm\")'>",
                "A HREF='JavaScript:go(\"x.htm\")'>", false, false, false},
        TagCase{"OtherSchemesStay",
                "IMG SRC=\"data:image/gif;base64,R0lGOD\" LOWSRC=about:blank USEMAP=ftp://h/m>",
                "IMG SRC=\"data:image/gif;base64,R0lGOD\" LOWSRC=about:blank USEMAP=ftp://h/m>"},
        TagCase{"ArchivedImage", "IMG SRC=\"pic.gif\">", "IMG SRC=\"../../host/image/pic.gif\">"},
        TagCase{"MissingImage", "IMG SRC=\"missing.gif\">",
                "IMG SRC=\"../../images/notfound.gif\">"},
        TagCase{"MissingLowsrcIsNoPicture", "IMG LOWSRC=\"missing.gif\">",
                "IMG LOWSRC=\"../../notfound.htm\">"},
        TagCase{"MissingFrame", "FRAME SRC=\"missing.htm\">", "FRAME SRC=\"../../notfound.htm\">"},
        TagCase{"MissingEmbed", "EMBED SRC=\"missing.mid\">", "EMBED SRC=\"../../notfound.htm\">"},
        TagCase{"MissingBackground", "BODY BACKGROUND=\"missing.gif\">",
                "BODY BACKGROUND=\"../../notfound.htm\">"},
        TagCase{"TableCellBackground", "TD WIDTH=5 BACKGROUND=pic.gif>",
                "TD WIDTH=5 BACKGROUND=../../host/image/pic.gif>"},
        TagCase{"AppletCodeNeverOriginalUrl", "APPLET CODE=\"app.class\">",
                "APPLET CODE=\"../../notfound.htm\">"},
        TagCase{"AreaSetsNoFlag", "AREA HREF=\"missing.htm\">",
                "AREA HREF=\"http://host/dir/missing.htm\">"},
        TagCase{"InputImage", "INPUT TYPE=IMAGE SRC=pic.gif>",
                "INPUT TYPE=IMAGE SRC=../../host/image/pic.gif>"},
        TagCase{"InputOnlySrc", "INPUT TYPE=IMAGE HREF=page.htm>",
                "INPUT TYPE=IMAGE HREF=page.htm>"},
        TagCase{"ObjectData", "OBJECT DATA=\"/movie.avi\">",
                "OBJECT DATA=\"../../host/video/movie.avi\">"},
        TagCase{"ObjectDataNotArchived", "OBJECT DATA=\"x.avi\">",
                "OBJECT DATA=\"http://host/dir/x.avi\">"},
        TagCase{"ObjectDataUri", "OBJECT DATA=\"data:text/plain,x\">",
                "OBJECT DATA=\"data:text/plain,x\">"},
        TagCase{"ObjectDataUriAnyCase", "OBJECT DATA=\"DATA:x\">", "OBJECT DATA=\"DATA:x\">"},
        TagCase{"EmbedDataStays", "EMBED DATA=x>", "EMBED DATA=x>"},
        TagCase{"ContentOutsideMetaStays", "A CONTENT=\"page.htm\">", "A CONTENT=\"page.htm\">"},
        TagCase{"TagNotInTable", "DIV HREF=\"page.htm\">", "DIV HREF=\"page.htm\">"},
        TagCase{"EmptyValueStays", "A HREF=\"\" NAME=x>", "A HREF=\"\" NAME=x>"},
        TagCase{"SeveralLinks", "BODY BACKGROUND=pic.gif SRC=missing.gif>",
                "BODY BACKGROUND=../../host/image/pic.gif SRC=../../images/notfound.gif>"},
        TagCase{"MetaRefresh", "META HTTP-EQUIV=\"Refresh\" CONTENT=\"0;URL=page.htm\">",
                "META HTTP-EQUIV=\"Refresh\" CONTENT=\"0;URL=../../host/text/page.htm\">"},
        TagCase{"MetaRefreshUnquotedLowerCase", "meta http-equiv=refresh content=5;url=page.htm>",
                "meta http-equiv=refresh content=5;url=../../host/text/page.htm>"},
        TagCase{"MetaRefreshSingleQuoted", "META HTTP-EQUIV=Refresh CONTENT='0;URL=page.htm'>",
                "META HTTP-EQUIV=Refresh CONTENT='0;URL=../../host/text/page.htm'>"},
        TagCase{"MetaRefreshToMissingPage", "META HTTP-EQUIV=Refresh CONTENT=\"0;URL=gone.htm\">",
                "META HTTP-EQUIV=Refresh CONTENT=\"0;URL=../../notfound.htm\">"},
        TagCase{"MetaRefreshValueEndsAtSpace",
                "META HTTP-EQUIV=\"Refresh\" CONTENT=\"0; URL=page.htm\">",
                "META HTTP-EQUIV=\"Refresh\" CONTENT=\"0; URL=page.htm\">"},
        TagCase{"MetaRefreshNamedAfterContent",
                "META CONTENT=\"0;URL=page.htm\" HTTP-EQUIV=\"Refresh\">",
                "META CONTENT=\"0;URL=page.htm\" HTTP-EQUIV=\"Refresh\">"},
        TagCase{"MetaWithoutUrl", "META HTTP-EQUIV=\"Refresh\" CONTENT=\"5\">",
                "META HTTP-EQUIV=\"Refresh\" CONTENT=\"5\">"},
        TagCase{"MetaHrefIgnored", "META HREF=\"page.htm\">", "META HREF=\"page.htm\">"},
        TagCase{"LongLinkToArchivedPage", "A HREF=\"" + LongName + "\">",
                "A HREF=\"../../host/text/long.htm\">", true},
        TagCase{"LongLinkKeptWholeAsOriginalUrl", "A HREF=\"x" + LongName + "\">",
                "A HREF=\"http://host/dir/x" + LongName + "\">", false, true},
        TagCase{"LongTagWithScriptsRewritten",
                "A HREF=\"page.htm\" onMouseOver=\"window.status='" + std::string(200, 's') +
                    "'; return true\" onMouseOut=\"window.status=''\" HREF=\"miss.htm\">",
                "A HREF=\"../../host/text/page.htm\" onMouseOver=\"window.status='" +
                    std::string(200, 's') +
                    "'; return true\" onMouseOut=\"window.status=''\" "
                    "HREF=\"http://host/dir/miss.htm\">",
                true, true},
        // A tag cut short at the bound: the value that runs into the cut stays.
        TagCase{"ValueRunningIntoTheCutStays", "A HREF=\"page.htm\" HREF=\"pag",
                "A HREF=\"../../host/text/page.htm\" HREF=\"pag", true}));

TEST_F(RewriteTagTest, TagOfExactlyTheBoundIsRewritten) {
    const std::string link = "../" + std::string(195, 'm') + "/../../dir/page.htm";
    std::string tag = "A HREF=\"" + link + "\">";
    tag.insert(1, MaxTagLength - tag.size(), ' ');
    ASSERT_EQ(tag.size(), MaxTagLength);
    std::string base = Base;
    RewriteTag(tag, base, LinkOptions{}, ArchiveLinkMap(job, list));
    EXPECT_EQ(tag, "A" + std::string(MaxTagLength - 10 - link.size(), ' ') +
                       " HREF=\"../../host/text/page.htm\">");
}

TEST_F(RewriteTagTest, RewriteBeyondTheBoundKeepsTheTagAsItWas) {
    std::string tag = "A HREF=\"page.htm\" TITLE=\"\">";
    tag.insert(tag.size() - 2, MaxTagLength - tag.size(), 't');
    const std::string original = tag;
    std::string base = Base;
    const LinkFlags flags = RewriteTag(tag, base, LinkOptions{}, ArchiveLinkMap(job, list));
    EXPECT_EQ(tag, original);
    EXPECT_FALSE(flags.ArchivedLink);
}

TEST_F(RewriteTagTest, BaseTagReplacesTheBaseAndVanishes) {
    std::string tag = "BASE HREF=\"http://other/dir/x.htm\">";
    std::string base = Base;
    const LinkFlags flags = RewriteTag(tag, base, LinkOptions{}, ArchiveLinkMap(job, list));
    EXPECT_EQ(tag, "!>");
    EXPECT_EQ(base, "other/dir/");
    EXPECT_FALSE(flags.ArchivedLink || flags.UnarchivedLink);

    std::string link = "A HREF=\"x.htm\">";
    RewriteTag(link, base, LinkOptions{}, ArchiveLinkMap(job, list));
    EXPECT_EQ(link, "A HREF=\"../../other/text/x.htm\">");
}

}  // namespace
}  // namespace arkivo
