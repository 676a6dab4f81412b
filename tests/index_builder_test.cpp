#include "offline_index/index_builder.h"

#include <gtest/gtest.h>

#include "index_test_items.h"
#include "model/file_utils.h"
#include "offline_index/archive_page_text.h"
#include "offline_index/short_date.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ArchivedItem;
using testing::PageLines;
using testing::ReadFile;
using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteFile;

TEST(IndexPages, Frameset) {
    EXPECT_EQ(FramesetPage(),
              "<HTML>\r\n"
              "<HEAD>\r\n"
              "<TITLE>Arkivo - Offline Index</TITLE>\r\n"
              "</HEAD>\r\n"
              "<FRAMESET COLS=30%,*>\r\n"
              "<FRAME SRC=indlist.htm NAME=DOMAINS MARGINWIDTH=0>\r\n"
              "<FRAME SRC=indpage.htm NAME=FILES MARGINWIDTH=0>\r\n"
              "</FRAMESET>\r\n"
              "<NOFRAMES>\r\n"
              "The Arkivo index page is located <A HREF=indlist.htm>here</A>\r\n"
              "</NOFRAMES>\r\n"
              "</HTML>\r\n");
}

TEST(IndexPages, NotFound) {
    EXPECT_EQ(NotFoundPage(), PageLines({
                                  "<HTML>",
                                  "<HEAD>",
                                  "<TITLE>Arkivo - Offline Index</TITLE>",
                                  "</HEAD>",
                                  "<BODY BGCOLOR=#FFFFFF LINK=#000099 VLINK=#330066>",
                                  "<FONT SIZE=5 FACE=ARIAL>",
                                  "<HR><BR>",
                                  "<CENTER>",
                                  "This page is not available.<BR><BR>",
                                  "<FONT SIZE=4>",
                                  "Use the browser back button to<BR>",
                                  "return to the previous page.",
                                  "</FONT>",
                                  "</CENTER>",
                                  "<BR><HR>",
                                  "</FONT>",
                                  "</BODY>",
                                  "</HTML>",
                              }));
}

TEST(IndexPages, Welcome) {
    EXPECT_EQ(
        WelcomePage(),
        PageLines({
            "<HTML>",
            "<BODY BGCOLOR=#FFFFFF LINK=#000099 VLINK=#330066><CENTER>",
            "<BR><IMG WIDTH=250 HEIGHT=75 SRC=images/Arkivo.gif>",
            "<BR>",
            "<TABLE BORDER=0 CELLPADDING=0 CELLSPACING=0>",
            "<TR><TD ALIGN=RIGHT HEIGHT=10>&nbsp</TD>",
            "<TR><TD ALIGN=RIGHT HEIGHT=30><IMG WIDTH=38 HEIGHT=18 ALIGN=ABSMIDDLE "
            "SRC=images/lfolder.gif></TD>",
            "<TD><FONT SIZE=3 FACE=ARIAL>&nbsp;Domain item</FONT></TD></TR>",
            "<TR><TD ALIGN=RIGHT HEIGHT=30><IMG WIDTH=20 HEIGHT=18 SRC=images/text.gif></TD>",
            "<TD><FONT SIZE=3 FACE=ARIAL>&nbsp;Text file</FONT></TD></TR>",
            "<TR><TD ALIGN=RIGHT HEIGHT=30><IMG WIDTH=20 HEIGHT=18 SRC=images/image.gif></TD>",
            "<TD><FONT SIZE=3 FACE=ARIAL>&nbsp;Image file</FONT></TD></TR>",
            "<TR><TD ALIGN=RIGHT HEIGHT=30><IMG WIDTH=20 HEIGHT=18 SRC=images/audio.gif></TD>",
            "<TD><FONT SIZE=3 FACE=ARIAL>&nbsp;Audio file</FONT></TD></TR>",
            "<TR><TD ALIGN=RIGHT HEIGHT=30><IMG WIDTH=20 HEIGHT=18 SRC=images/video.gif></TD>",
            "<TD><FONT SIZE=3 FACE=ARIAL>&nbsp;Video file</FONT></TD></TR>",
            "<TR><TD ALIGN=RIGHT HEIGHT=30><IMG WIDTH=20 HEIGHT=18 SRC=images/other.gif></TD>",
            "<TD><FONT SIZE=3 FACE=ARIAL>&nbsp;Other file</FONT></TD></TR>",
            "</TABLE><BR>",
            "<IMG WIDTH=197 HEIGHT=74 SRC=images/QuenLogo.gif><BR>",
            "<FONT SIZE=2 FACE=ARIAL>Archived for offline reading with Arkivo</FONT>",
            "</CENTER></BODY></HTML>",
        }));
}

std::string DomainListHead(std::string_view date) {
    return PageLines({
        "<HTML><HEAD><BASE TARGET=FILES>",
        "<TITLE>Arkivo - Offline Index</TITLE></HEAD>",
        "<BODY BGCOLOR=#FFFFFF LINK=#000099 VLINK=#330066>",
        "<TABLE BORDER=1 BGCOLOR=#CCCCCC CELLPADDING=4 CELLSPACING=0 WIDTH=100% HEIGHT=34>",
        "<TR><TD><NOBR><FONT SIZE=2 FACE=ARIAL>&nbsp;&nbsp;Index created - " + std::string(date) +
            "</FONT></NOBR></TD></TR></TABLE>",
        "<B><FONT SIZE=2 FACE=ARIAL>",
        "<NOBR><IMG BORDER=0 ALIGN=TOP SRC=images/ofolder.gif>Domains</NOBR><BR>",
    });
}

const std::string DomainListTail = "</FONT></B></BODY></HTML>\r\n";

TEST(IndexPages, DomainListOfOneUsesTheLastFolder) {
    EXPECT_EQ(DomainListPage({"www.example.com"}, "12/31/99"),
              DomainListHead("12/31/99") +
                  PageLines({"<NOBR><A HREF=www.example.com/text_index.htm><IMG WIDTH=38 "
                             "HEIGHT=18 BORDER=0 ALIGN=TOP SRC=images/lfolder.gif>www.example.com"
                             "</A></NOBR><BR>"}) +
                  DomainListTail);
}

TEST(IndexPages, DomainListOfThreeUsesTheLastFolderOnce) {
    EXPECT_EQ(DomainListPage({"a.org", "B.org", "c.org"}, "31.12.1999"),
              DomainListHead("31.12.1999") +
                  PageLines({
                      "<NOBR><A HREF=a.org/text_index.htm><IMG WIDTH=38 HEIGHT=18 BORDER=0 "
                      "ALIGN=TOP SRC=images/folder.gif>a.org</A></NOBR><BR>",
                      "<NOBR><A HREF=B.org/text_index.htm><IMG WIDTH=38 HEIGHT=18 BORDER=0 "
                      "ALIGN=TOP SRC=images/folder.gif>B.org</A></NOBR><BR>",
                      "<NOBR><A HREF=c.org/text_index.htm><IMG WIDTH=38 HEIGHT=18 BORDER=0 "
                      "ALIGN=TOP SRC=images/lfolder.gif>c.org</A></NOBR><BR>",
                  }) +
                  DomainListTail);
}

// Directory names may hold characters that mean something in a link.
TEST(IndexPages, DomainLinksKeepOddDirectoryNames) {
    const std::string page = DomainListPage({"a#b%c"}, "1/1/00");
    EXPECT_NE(page.find("<A HREF=a%23b%25c/text_index.htm>"), std::string::npos);
    EXPECT_NE(page.find("lfolder.gif>a#b%c</A>"), std::string::npos);
}

struct DomainListCase {
    const char* name;
    std::vector<const char*> domains;  // one item per domain, in list order
    std::vector<std::string> expected;
};

TEST(IndexPages, DomainListIsSortedAndFreeOfDuplicates) {
    const DomainListCase cases[] = {
        {"first spelling stays", {"beta", "Alpha", "alpha"}, {"Alpha", "beta"}},
        {"later capitals are dropped", {"alpha", "ALPHA", "Alpha"}, {"alpha"}},
        {"order ignores case", {"b", "C", "a"}, {"a", "b", "C"}},
        {"repeats kept once", {"x.org", "x.org", "y.org", "x.org"}, {"x.org", "y.org"}},
        {"unsafe names left out", {"..", ".", "", "ok"}, {"ok"}},
        {"nothing", {}, {}},
    };
    for (const DomainListCase& c : cases) {
        SCOPED_TRACE(c.name);
        TCacheItemList list;
        for (const char* domain : c.domains) {
            auto item = std::make_unique<TCacheItem>();
            item->Url = "http://" + std::string(domain) + ":80/";
            item->Domain = domain;
            list.push_back(std::move(item));
        }
        EXPECT_EQ(OfflineDomainList(list), c.expected);
    }
}

TEST(IndexPages, ItemsWithoutUrlNameNoDomain) {
    TCacheItemList list;
    list.push_back(std::make_unique<TCacheItem>());
    list.back()->Domain = "ghost";
    EXPECT_TRUE(OfflineDomainList(list).empty());
}

TEST(ShortDate, FormatsWithThePattern) {
    const double lastDay = *EncodeDate(DateParts{1999, 12, 31, 23, 59, 59});
    const double leapDay = *EncodeDate(DateParts{2024, 2, 29});
    const struct {
        double date;
        const char* format;
        const char* expected;
    } cases[] = {
        {lastDay, "%m/%d/%y", "12/31/99"},   {lastDay, "%d.%m.%Y", "31.12.1999"},
        {lastDay, "%Y-%m-%d", "1999-12-31"}, {leapDay, "%d/%m/%Y", "29/02/2024"},
        {leapDay, "%j %w", "060 4"},         {lastDay, "", ""},
    };
    ScopedEnv locale("LC_ALL", "C");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(FormatShortDate(c.date, c.format), c.expected);
    }
}

TEST(ShortDate, UserFormatComesFromTheLocale) {
    ScopedEnv locale("LC_ALL", "C");
    EXPECT_EQ(UserShortDateFormat(), "%m/%d/%y");
    ScopedEnv missing("LC_ALL", "xx_NOWHERE.UTF-8");
    EXPECT_EQ(UserShortDateFormat(), "%m/%d/%y");
}

class OfflineIndex : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadMimeTypes(scratch.Path());
        SetNowForTesting(*EncodeDate(DateParts{1999, 12, 31, 13, 30, 0}));
    }
    void TearDown() override { SetNowForTesting(std::nullopt); }

    void Build() { BuildOfflineIndex(archive.Path(), list, IndexProgress{}); }

    ScopedEnv locale{"LC_ALL", "C"};
    TempDir scratch;
    TempDir archive;
    TCacheItemList list;
};

TEST_F(OfflineIndex, WritesEveryPage) {
    list.push_back(ArchivedItem("http://b.org:80/x.htm", "text/html", "x.htm"));
    list.push_back(ArchivedItem("http://a.org:80/y.gif", "image/gif", "y.gif"));
    Build();
    EXPECT_EQ(ReadFile(archive / "1st_page.htm"), FramesetPage());
    EXPECT_EQ(ReadFile(archive / "notfound.htm"), NotFoundPage());
    EXPECT_EQ(ReadFile(archive / "indpage.htm"), WelcomePage());
    EXPECT_EQ(ReadFile(archive / "indlist.htm"), DomainListPage({"a.org", "b.org"}, "12/31/99"));
    for (const char* domain : {"a.org", "b.org"}) {
        for (const char* page : {"text_index.htm", "image_index.htm", "audio_index.htm",
                                 "video_index.htm", "other_index.htm", "thumbnail_index.htm"}) {
            EXPECT_TRUE(FileExists(archive / (std::string(domain) + "/" + page)))
                << domain << "/" << page;
        }
    }
}

TEST_F(OfflineIndex, RunningTwiceGivesTheSameFiles) {
    list.push_back(ArchivedItem("http://b.org:80/x.htm", "text/html", "x.htm", "X"));
    Build();
    const std::string first = ReadFile(archive / "indlist.htm") +
                              ReadFile(archive / "b.org/text_index.htm") +
                              ReadFile(archive / "1st_page.htm");
    Build();
    EXPECT_EQ(ReadFile(archive / "indlist.htm") + ReadFile(archive / "b.org/text_index.htm") +
                  ReadFile(archive / "1st_page.htm"),
              first);
}

TEST_F(OfflineIndex, EmptyListRemovesTheFrameset) {
    WriteFile(archive / "1st_page.htm", "old");
    WriteFile(archive / "indlist.htm", "old");
    Build();
    EXPECT_FALSE(FileExists(archive / "1st_page.htm"));
    EXPECT_EQ(ReadFile(archive / "indlist.htm"), "old");
    EXPECT_FALSE(FileExists(archive / "notfound.htm"));
    Build();  // nothing left to delete is no error
}

TEST_F(OfflineIndex, UnwritablePageIsReported) {
    list.push_back(ArchivedItem("http://b.org:80/x.htm", "text/html", "x.htm"));
    MakeDirectoryPath(archive / "indlist.htm");
    try {
        Build();
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("indlist.htm"), std::string::npos) << error.what();
    }
    // The pages before it were written.
    EXPECT_EQ(ReadFile(archive / "indpage.htm"), WelcomePage());
}

}  // namespace
}  // namespace arkivo
