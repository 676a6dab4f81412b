#include "rewriter/page_rewriter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "model/content_types.h"
#include "rewriter/page_title.h"
#include "rewriter/tag_rewriter.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using namespace std::string_literals;

constexpr const char* PageUrl = "http://host:80/dir/index.htm";
const std::string Page = "../../host/text/page.htm";
const std::string Missing = "http://host/dir/missing.htm";

class LinkRewriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadMimeTypes(types.Path());
        Add(jobItems, "http://host:80/dir/page.htm", "host", "page.htm", "text/html");
        Add(jobItems, "http://host:80/dir/pic.gif", "host", "pic.gif", "image/gif");
        Add(list, "http://other:80/dir/x.htm", "other", "x.htm", "text/html");
        for (const auto& item : jobItems) {
            job.push_back(item.get());
        }
    }

    static TCacheItem* Add(TCacheItemList& items, std::string url, std::string domain,
                           std::string name, std::string_view type) {
        auto item = std::make_unique<TCacheItem>();
        item->Url = std::move(url);
        item->Domain = std::move(domain);
        item->ArchiveName = std::move(name);
        item->Kind = ContentCodeOf(type);
        items.push_back(std::move(item));
        return items.back().get();
    }

    std::string Rewrite(std::string_view page, const LinkOptions& options = {},
                        std::string_view url = PageUrl) const {
        return RewritePageText(page, url, options, ArchiveLinkMap(job, list));
    }

    testing::TempDir types;
    TCacheItemList jobItems;
    std::vector<TCacheItem*> job;
    TCacheItemList list;
};

struct PageCase {
    const char* name;
    std::string page;
    std::string rewritten;
    LinkOptions options;
};

void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.name;
}

LinkOptions Plain() {
    LinkOptions options;
    options.ShowOriginalUrls = false;
    options.StrikeoutLinks = false;
    return options;
}

LinkOptions Emphasis(std::string open = "B", std::string close = "/B") {
    LinkOptions options = Plain();
    options.EmphasizeLinks = true;
    options.ActiveEmphasizeTag = std::move(open);
    options.ActiveDeEmphasizeTag = std::move(close);
    return options;
}

LinkOptions EmphasisAndStrike() {
    LinkOptions options = Emphasis();
    options.StrikeoutLinks = true;
    return options;
}

const std::string LongTitle = " TITLE=\"" + std::string(300, 't') + "\"";

class RewritePageCases : public LinkRewriterTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(RewritePageCases, GivesExactBytes) {
    EXPECT_EQ(Rewrite(GetParam().page, GetParam().options), GetParam().rewritten);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, RewritePageCases,
    ::testing::Values(
        PageCase{"Empty", "", "", {}}, PageCase{"NoTags", "just text\r\n", "just text\r\n", {}},
        PageCase{"TextKeptByteForByte", "a\0b<P>\x80\xff<BR>\r\n"s, "a\0b<P>\x80\xff<BR>\r\n"s, {}},
        PageCase{
            "ArchivedLink", "<A HREF=\"page.htm\">x</A>", "<A HREF=\"" + Page + "\">x</A>", {}},
        PageCase{"UnarchivedLinkStruckOut",
                 "<A HREF=\"missing.htm\">x</A>",
                 "<A HREF=\"" + Missing + "\"><STRIKE>x</STRIKE></A>",
                 {}},
        PageCase{"UnarchivedLinkToNotFound", "<A HREF=\"missing.htm\">x</A>",
                 "<A HREF=\"../../notfound.htm\">x</A>", Plain()},
        PageCase{"Emphasis", "<A HREF=page.htm>text</A>", "<A HREF=" + Page + "><B>text</B></A>",
                 Emphasis()},
        PageCase{"EmphasisLowerCaseEnd", "<A HREF=page.htm>text</a>",
                 "<A HREF=" + Page + "><B>text</B></a>", Emphasis()},
        PageCase{"LargerText", "<A HREF=page.htm>text</A>",
                 "<A HREF=" + Page + "><FONT SIZE=+1>text</FONT></A>",
                 Emphasis("FONT SIZE=+1", "/FONT")},
        PageCase{"EmptyEmphasisTags", "<A HREF=page.htm>text</A>", "<A HREF=" + Page + ">text</A>",
                 Emphasis("", "")},
        PageCase{"EmphasisOffNoMarkers", "<A HREF=page.htm>a</A><A HREF=missing.htm>b</A>",
                 "<A HREF=" + Page + ">a</A><A HREF=../../notfound.htm>b</A>", Plain()},
        PageCase{"EmphasisOnlyForArchived", "<A HREF=missing.htm>a</A>",
                 "<A HREF=../../notfound.htm>a</A>", Emphasis()},
        PageCase{
            "StrikeInsideOpenEmphasisClosesBoth",
            "<A HREF=page.htm>a<A HREF=missing.htm>b</A>c</A>",
            "<A HREF=" + Page + "><B>a<A HREF=../../notfound.htm><STRIKE>b</STRIKE></B></A>c</A>",
            EmphasisAndStrike()},
        PageCase{"EndTagWithoutOpenLinkStays", "<B>x</B></A>", "<B>x</B></A>", EmphasisAndStrike()},
        PageCase{"OtherEndTagsDoNotClose", "<A HREF=page.htm>a</B></A>",
                 "<A HREF=" + Page + "><B>a</B></B></A>", Emphasis()},
        PageCase{"Fragment", "<A HREF=\"page.htm#part\"><A HREF=\"missing.htm#part\">",
                 "<A HREF=\"" + Page + "#part\"><A HREF=\"../../notfound.htm\">", Plain()},
        PageCase{"OwnFragmentAndMailStay",
                 "<A HREF=\"#top\"><A HREF=\"mailto:x\"><A HREF=\"MAILTO:x\">",
                 "<A HREF=\"#top\"><A HREF=\"mailto:x\"><A HREF=\"MAILTO:x\">",
                 {}},
        PageCase{"Images",
                 "<IMG SRC=\"missing.gif\"><FRAME SRC=\"missing.htm\"><EMBED SRC=\"missing.mid\">"
                 "<BODY BACKGROUND=\"missing.gif\"><IMG SRC=pic.gif>",
                 "<IMG SRC=\"../../images/notfound.gif\"><FRAME SRC=\"../../notfound.htm\">"
                 "<EMBED SRC=\"../../notfound.htm\"><BODY BACKGROUND=\"../../notfound.htm\">"
                 "<IMG SRC=../../host/image/pic.gif>",
                 {}},
        PageCase{"BaseChangesLaterLinks",
                 "<A HREF=x.htm><BASE HREF=\"http://other/dir/x.htm\"><A HREF=\"x.htm\">",
                 "<A HREF=../../notfound.htm><!><A HREF=\"../../other/text/x.htm\">", Plain()},
        PageCase{"MetaRefresh",
                 "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"0;URL=page.htm\">"
                 "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"0; URL=page.htm\">",
                 "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"0;URL=" + Page +
                     "\"><META HTTP-EQUIV=\"Refresh\" CONTENT=\"0; URL=page.htm\">",
                 {}},
        PageCase{"ClosedComment", "<!-- <A HREF=page.htm> -->", "<!-- <A HREF=page.htm> -->", {}},
        PageCase{"TagAfterClosedComment",
                 "<!--c--><A HREF=page.htm>",
                 "<!--c--><A HREF=" + Page + ">",
                 {}},
        PageCase{"UnclosedCommentEndsAtItsFirstGt",
                 "<!-- <A HREF=page.htm> text <A HREF=page.htm><!-- <IMG SRC=x> <A HREF=page.htm>",
                 "<!-- <A HREF=page.htm> text <A HREF=" + Page +
                     "><!-- <IMG SRC=x> <A HREF=" + Page + ">",
                 {}},
        PageCase{"CommentOpenerDoesNotCloseItself",
                 "<!--><A HREF=page.htm>-->",
                 "<!--><A HREF=page.htm>-->",
                 {}},
        PageCase{"ShortTagsStay", "<A SRC=x><P><B>", "<A SRC=x><P><B>", {}},
        PageCase{"NineByteTagIsRewritten", "<A SRC=xy>", "<A SRC=../../images/notfound.gif>", {}},
        PageCase{"LongLinkRewrittenWithMarker",
                 "<A HREF=\"" + std::string(230, 'm') + "\">x</A>",
                 "<A HREF=\"http://host/dir/" + std::string(230, 'm') + "\"><STRIKE>x</STRIKE></A>",
                 {}},
        PageCase{"TagOver255BytesRewritten",
                 "<A HREF=\"page.htm\"" + LongTitle + ">after<A HREF=page.htm>",
                 "<A HREF=\"" + Page + "\"" + LongTitle + ">after<A HREF=" + Page + ">",
                 {}},
        PageCase{"TagOver255BytesRewrittenInItsFirst255",
                 "<A HREF=\"../../../../../dir/page.htm\"" + LongTitle + ">after<A HREF=page.htm>",
                 "<A HREF=\"" + Page + "\"" + LongTitle + ">after<A HREF=" + Page + ">",
                 {}},
        PageCase{"UnfinishedTagAtTheEnd", "text<A HREF=page.htm", "text<A HREF=page.htm", {}},
        PageCase{"LoneLtAtTheEnd", "text<", "text<", {}},
        PageCase{"NulInsideValueDropped",
                 "<A HREF=\"page\0.htm\">\0"s,
                 "<A HREF=\"" + Page + "\">\0"s,
                 {}}));

TEST_F(LinkRewriterTest, OriginalUrlsDropPort80AndKeepOthers) {
    const std::string page = "<A HREF=\"missing.htm\">";
    EXPECT_EQ(Rewrite(page, Plain()), "<A HREF=\"../../notfound.htm\">");
    LinkOptions original = Plain();
    original.ShowOriginalUrls = true;
    EXPECT_EQ(Rewrite(page, original), "<A HREF=\"http://host/dir/missing.htm\">");
    EXPECT_EQ(Rewrite(page, original, "http://host:8080/dir/index.htm"),
              "<A HREF=\"http://host:8080/dir/missing.htm\">");
}

TEST_F(LinkRewriterTest, TagBeyondTheBoundIsRewrittenInItsFirstPart) {
    // The link as written is the longer one, so the tag stays within the bound.
    const std::string rest = std::string(MaxTagLength, 't') + " HREF=page.htm>after";
    EXPECT_EQ(
        Rewrite("<A HREF=../../../../dir/page.htm TITLE=" + rest + "<A HREF=page.htm>", Plain()),
        "<A HREF=" + Page + " TITLE=" + rest + "<A HREF=" + Page + ">");
}

TEST_F(LinkRewriterTest, GrowthOfAPageIsBounded) {
    // Every tiny link becomes a long, percent-encoded one.
    Add(jobItems, "http://host:80/dir/far.htm", "host", std::string(240, '%') + ".htm",
        "text/html");
    job.push_back(jobItems.back().get());
    std::string page;
    for (int i = 0; i < 25000; ++i) {
        page += "<A HREF=far.htm>";
    }
    const std::string rewritten = Rewrite(page, Plain());
    EXPECT_LE(rewritten.size(), 2 * page.size() + MaxPageGrowth + MaxTagLength);
    EXPECT_TRUE(rewritten.starts_with("<A HREF=../../host/text/%25%25"));
    EXPECT_TRUE(rewritten.ends_with("><A HREF=far.htm>"));
}

TEST_F(LinkRewriterTest, PageWithMoreThan65535Links) {
    std::string page;
    std::string expected;
    for (int i = 0; i < 35000; ++i) {  // 70000 rewritten tags
        page += "<P>text <A HREF=\"page.htm\">page</A> <IMG SRC=\"gone.gif\">\r\n";
        expected +=
            "<P>text <A HREF=\"" + Page + "\">page</A> <IMG SRC=\"../../images/notfound.gif\">\r\n";
    }
    EXPECT_EQ(Rewrite(page), expected);
}

// Pages cut anywhere and stitched from the pieces that steer the scanner: every
// one must be rewritten without reading outside the page (the sanitizer build
// checks) and keep the page's last text.
TEST_F(LinkRewriterTest, HostilePagesStayInBounds) {
    const std::vector<std::string> pieces = {"<",
                                             ">",
                                             "<!--",
                                             "-->",
                                             "\"",
                                             " ",
                                             "\t",
                                             "A HREF=",
                                             "IMG SRC=",
                                             "BASE HREF=",
                                             "META HTTP-EQUIV=Refresh CONTENT=0;URL=",
                                             "page.htm",
                                             "#",
                                             "/A>",
                                             std::string(1, '\0'),
                                             "\xff",
                                             std::string(300, 'x'),
                                             "<TITLE>"};
    LinkOptions options = EmphasisAndStrike();
    options.ShowOriginalUrls = true;
    std::uint32_t state = 1;
    for (int round = 0; round < 3000; ++round) {
        std::string page;
        const int count = static_cast<int>(state % 40);
        for (int i = 0; i < count; ++i) {
            state = state * 1664525u + 1013904223u;
            page += pieces[(state >> 8) % pieces.size()];
        }
        page += "end";
        ASSERT_NE(Rewrite(page, options).find("end"), std::string::npos) << page;
        ASSERT_LE(ExtractTitle(page).size(), MaxTitleLength) << page;
    }
}

class RewritePageTest : public LinkRewriterTest {
  protected:
    TCacheItem& PageItem(std::string_view bytes) {
        item.Url = PageUrl;
        item.Domain = "host";
        item.ArchiveName = "index.htm";
        item.Kind = ContentCodeOf("text/html");
        item.Title = "old title";
        item.CacheFile = cache / "page";
        testing::WriteFile(item.CacheFile, bytes);
        ::mkdir((archive / "host").c_str(), 0755);
        ::mkdir((archive / "host/text").c_str(), 0755);
        return item;
    }

    Status Run() {
        return RewritePage(item, archive.Path(), LinkOptions{}, ArchiveLinkMap(job, list));
    }

    testing::TempDir cache;
    testing::TempDir archive;
    TCacheItem item;
};

TEST_F(RewritePageTest, WritesTheRewrittenCopyAndTheTitle) {
    PageItem("<TITLE>Index</TITLE><A HREF=page.htm>x</A>");
    ASSERT_TRUE(Run().ok());
    EXPECT_EQ(testing::ReadFile(archive / "host/text/index.htm"),
              "<TITLE>Index</TITLE><A HREF=" + Page + ">x</A>");
    EXPECT_EQ(item.Title, "Index");
}

TEST_F(RewritePageTest, ReplacesALongerEarlierCopy) {
    PageItem("<P>short");
    testing::WriteFile(archive / "host/text/index.htm", std::string(10000, 'o'));
    ASSERT_TRUE(Run().ok());
    EXPECT_EQ(testing::ReadFile(archive / "host/text/index.htm"), "<P>short");
    EXPECT_EQ(item.Title, "");
}

TEST_F(RewritePageTest, EmptyPageGivesEmptyCopy) {
    PageItem("");
    ASSERT_TRUE(Run().ok());
    EXPECT_EQ(testing::ReadFile(archive / "host/text/index.htm"), "");
    EXPECT_EQ(item.Title, "");
}

// Pages over the limit are copied as they stand; their title is looked for in their
// first bytes only.
TEST_F(RewritePageTest, APageOverTheLimitIsCopiedUnchanged) {
    const std::string page = "<TITLE>Big</TITLE><A HREF=page.htm>x</A>";
    PageItem(page);
    const ArchiveLinkMap map(job, list);
    bool unchanged = false;
    ASSERT_TRUE(RewritePage(item, archive.Path(), {}, map, page.size(), &unchanged).ok());
    EXPECT_FALSE(unchanged);
    ASSERT_TRUE(RewritePage(item, archive.Path(), {}, map, page.size() - 1, &unchanged).ok());
    EXPECT_TRUE(unchanged);
    EXPECT_EQ(testing::ReadFile(archive / "host/text/index.htm"), page);
    EXPECT_EQ(item.Title, "Big");

    PageItem(std::string(LargePageTitleSpan, ' ') + "<TITLE>Late</TITLE>");
    ASSERT_TRUE(RewritePage(item, archive.Path(), {}, map, 1).ok());
    EXPECT_EQ(item.Title, "");
}

TEST_F(RewritePageTest, MissingCachedFileWritesNothing) {
    PageItem("<TITLE>x</TITLE>");
    item.CacheFile = cache / "gone";
    EXPECT_EQ(Run().code(), StatusCode::NotFound);
    EXPECT_EQ(item.Title, "old title");
    struct stat info {};
    EXPECT_NE(::stat((archive / "host/text/index.htm").c_str(), &info), 0);
}

TEST_F(RewritePageTest, UnsafeArchiveNameIsRefused) {
    PageItem("<TITLE>x</TITLE>");
    item.ArchiveName = "..";
    EXPECT_EQ(Run().code(), StatusCode::Refused);
    EXPECT_EQ(item.Title, "old title");
}

TEST_F(RewritePageTest, MissingFolderIsAWriteFailure) {
    PageItem("<TITLE>x</TITLE>");
    item.Domain = "elsewhere";
    EXPECT_EQ(Run().code(), StatusCode::WriteFailed);
}

}  // namespace
}  // namespace arkivo
