#include "offline_index/domain_page_text.h"

#include <gtest/gtest.h>

#include <map>

#include "image_headers.h"
#include "index_test_items.h"
#include "offline_index/archive_page_text.h"
#include "offline_index/domain_page_writer.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ArchivedItem;
using testing::GifPicture;
using testing::JfifPicture;
using testing::PageLines;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// The head of every non-empty domain page around its line of kind buttons.
std::string Head(std::string_view buttonsLine) {
    return PageLines({
        "<HTML><HEAD><BASE TARGET=\"_top\"></HEAD>",
        "<BODY BGCOLOR=#FFFFFF LINK=#000099 VLINK=#330066>",
        "<TABLE BORDER=1 BGCOLOR=#CCCCCC CELLPADDING=4 CELLSPACING=0 WIDTH=100% HEIGHT=34>",
        "<TR><TD><NOBR>&nbsp;",
        buttonsLine,
        "</TD></TR></TABLE>",
        "<B><FONT SIZE=2 FACE=ARIAL>",
    });
}

std::string Forward(std::string_view page) {
    return PageLines({"<HTML>", "<HEAD>",
                      "<META HTTP-EQUIV=REFRESH CONTENT=\"0; URL=" + std::string(page) + "\">",
                      "</HEAD>", "</HTML>"});
}

const std::string Tail = "</BODY></HTML>\r\n";

class DomainPages : public ::testing::Test {
  protected:
    void SetUp() override { LoadMimeTypes(scratch.Path()); }

    void Add(std::unique_ptr<TCacheItem> item) { list.push_back(std::move(item)); }

    DomainItems ItemsOf(const std::string& domain) {
        auto grouped = GroupByDomain(list);
        return grouped[domain];
    }

    // Writes the pages of every listed domain into archive, each picture item's
    // archived copy first written from pictures (by archive name).
    void WritePages(const std::map<std::string, std::string>& pictures = {}) {
        for (const auto& [name, bytes] : pictures) {
            for (const auto& item : list) {
                if (item->ArchiveName == name) {
                    WriteFile(archive / (item->Domain + "/" + MajorTypeOf(item->Kind) + "/" + name),
                              bytes);
                }
            }
        }
        WriteDomainPages(archive.Path(), OfflineDomainList(list), list,
                         IndexProgress{[&](const std::string& s) { stages.push_back(s); },
                                       [&](int p) { percents.push_back(p); }});
    }

    std::string Page(const std::string& domain, const std::string& name) {
        return ReadFile(archive / (domain + "/" + name));
    }

    TempDir scratch;
    TempDir archive;
    TCacheItemList list;
    std::vector<std::string> stages;
    std::vector<int> percents;
};

// The three forms of a kind button, with N = 3 for the text kind.
TEST_F(DomainPages, NavigationBarButtonForms) {
    for (const char* name : {"a.htm", "b.htm", "c.htm"}) {
        Add(ArchivedItem(std::string("http://h:80/") + name, "text/html", name));
    }
    const DomainItems items = ItemsOf("h");
    const DomainItems noItems;
    struct Case {
        std::optional<FileClass> current;
        const DomainItems* items;
        std::string_view textButton;
    } cases[] = {
        {FileClass::Text, &items,
         "<IMG ALIGN=ABSMIDDLE ALT=\"3 text files\" SRC=../images/dtext.gif>"},
        {FileClass::Image, &noItems, "<IMG ALIGN=ABSMIDDLE SRC=../images/gtext.gif>"},
        {std::nullopt, &items,
         "<A HREF=text_index.htm onMouseOver=\"window.status='List text files';return true\" "
         "TARGET=FILES><IMG BORDER=0 ALIGN=ABSMIDDLE ALT=\"3 text files\" "
         "SRC=../images/utext.gif></A>"},
    };
    for (const Case& c : cases) {
        std::string page;
        WriteNavigationBar(page, c.current, "h", *c.items);
        const std::string imageButton =
            c.current == FileClass::Image
                ? "<IMG ALIGN=ABSMIDDLE ALT=\"0 image files\" SRC=../images/dImage.gif>"
                : "<IMG ALIGN=ABSMIDDLE SRC=../images/gImage.gif>";
        EXPECT_EQ(page, Head(std::string(c.textButton) + imageButton +
                             "<IMG ALIGN=ABSMIDDLE SRC=../images/gAudio.gif>"
                             "<IMG ALIGN=ABSMIDDLE SRC=../images/gVideo.gif>"
                             "<IMG ALIGN=ABSMIDDLE SRC=../images/gOther.gif>"
                             "<FONT SIZE=2 FACE=ARIAL>&nbsp;&nbsp;Exploring h</FONT>"));
    }
}

// One domain with files of every kind: all six pages, byte for byte.
TEST_F(DomainPages, DomainWithEveryKind) {
    Add(ArchivedItem("http://www.example.com:80/index.html", "text/html", "index.htm", "Welcome"));
    Add(ArchivedItem("http://www.example.com:80/docs/page.htm", "text/html", "page.htm"));
    Add(ArchivedItem("http://www.example.com:80/", "text/html", "wwwexamplecom.htm"));
    Add(ArchivedItem("http://www.example.com:80/img/wide.gif", "image/gif", "wide.gif"));
    Add(ArchivedItem("http://www.example.com:80/img/photo.jpg", "image/jpeg", "photo.jpg"));
    Add(ArchivedItem("http://www.example.com:80/snd/ring.wav", "audio/x-wav", "ring.wav"));
    Add(ArchivedItem("http://www.example.com:8080/clip.mpg", "video/mpeg", "clip.mpg"));
    Add(ArchivedItem("http://www.example.com:80/get/tool-1.zip", "application/zip", "tool1.zip"));
    WritePages({{"wide.gif", GifPicture(200, 100)}, {"photo.jpg", JfifPicture(1000, 10)}});

    const std::string up[] = {
        "<A HREF=text_index.htm onMouseOver=\"window.status='List text files';return true\" "
        "TARGET=FILES><IMG BORDER=0 ALIGN=ABSMIDDLE ALT=\"3 text files\" "
        "SRC=../images/utext.gif></A>",
        "<A HREF=image_index.htm onMouseOver=\"window.status='List image files';return true\" "
        "TARGET=FILES><IMG BORDER=0 ALIGN=ABSMIDDLE ALT=\"2 image files\" "
        "SRC=../images/uImage.gif></A>",
        "<A HREF=audio_index.htm onMouseOver=\"window.status='List audio files';return true\" "
        "TARGET=FILES><IMG BORDER=0 ALIGN=ABSMIDDLE ALT=\"1 audio files\" "
        "SRC=../images/uAudio.gif></A>",
        "<A HREF=video_index.htm onMouseOver=\"window.status='List video files';return true\" "
        "TARGET=FILES><IMG BORDER=0 ALIGN=ABSMIDDLE ALT=\"1 video files\" "
        "SRC=../images/uVideo.gif></A>",
        "<A HREF=other_index.htm onMouseOver=\"window.status='List other files';return true\" "
        "TARGET=FILES><IMG BORDER=0 ALIGN=ABSMIDDLE ALT=\"1 other files\" "
        "SRC=../images/uOther.gif></A>",
    };
    const std::string down[] = {
        "<IMG ALIGN=ABSMIDDLE ALT=\"3 text files\" SRC=../images/dtext.gif>",
        "<IMG ALIGN=ABSMIDDLE ALT=\"2 image files\" SRC=../images/dImage.gif>",
        "<IMG ALIGN=ABSMIDDLE ALT=\"1 audio files\" SRC=../images/dAudio.gif>",
        "<IMG ALIGN=ABSMIDDLE ALT=\"1 video files\" SRC=../images/dVideo.gif>",
        "<IMG ALIGN=ABSMIDDLE ALT=\"1 other files\" SRC=../images/dOther.gif>",
    };
    const std::string exploring =
        "<FONT SIZE=2 FACE=ARIAL>&nbsp;&nbsp;Exploring www.example.com</FONT>";
    auto headFor = [&](int current) {
        std::string buttons;
        for (int kind = 0; kind < 5; ++kind) {
            buttons += kind == current ? down[kind] : up[kind];
        }
        return Head(buttons + exploring);
    };
    const std::string domain = "www.example.com";

    EXPECT_EQ(Page(domain, "text_index.htm"),
              headFor(0) +
                  PageLines({
                      "<NOBR><A HREF=text/index.htm onMouseOver=\"window.status='http://"
                      "www.example.com/index.html';return true\"><IMG BORDER=0 ALIGN=TOP "
                      "SRC=../images/text.gif>Welcome</A></NOBR><BR>",
                      "<NOBR><A HREF=text/page.htm onMouseOver=\"window.status='http://"
                      "www.example.com/docs/page.htm';return true\"><IMG BORDER=0 ALIGN=TOP "
                      "SRC=../images/text.gif>page.htm</A></NOBR><BR>",
                      "<NOBR><A HREF=text/wwwexamplecom.htm onMouseOver=\"window.status='http://"
                      "www.example.com/';return true\"><IMG BORDER=0 ALIGN=TOP "
                      "SRC=../images/text.gif>No Title</A></NOBR><BR>",
                  }) +
                  Tail);
    EXPECT_EQ(Page(domain, "image_index.htm"),
              headFor(1) +
                  PageLines({
                      "<NOBR><A HREF=thumbnail_index.htm TARGET=FILES><IMG BORDER=0 ALIGN=TOP "
                      "SRC=../images/image.gif>Thumbnail Index (2 images)</A></NOBR><BR>",
                      "<NOBR><A HREF=image/wide.gif onMouseOver=\"window.status='http://"
                      "www.example.com/img/wide.gif';return true\"><IMG BORDER=0 ALIGN=TOP "
                      "SRC=../images/image.gif>wide.gif</A></NOBR><BR>",
                      "<NOBR><A HREF=image/photo.jpg onMouseOver=\"window.status='http://"
                      "www.example.com/img/photo.jpg';return true\"><IMG BORDER=0 ALIGN=TOP "
                      "SRC=../images/image.gif>photo.jpg</A></NOBR><BR>",
                  }) +
                  Tail);
    EXPECT_EQ(Page(domain, "audio_index.htm"),
              headFor(2) +
                  PageLines({
                      "<NOBR><A HREF=audio/ring.wav onMouseOver=\"window.status='http://"
                      "www.example.com/snd/ring.wav';return true\"><IMG BORDER=0 ALIGN=TOP "
                      "SRC=../images/audio.gif>ring.wav</A></NOBR><BR>",
                  }) +
                  Tail);
    // Not on port 80: the address is shown as archived.
    EXPECT_EQ(Page(domain, "video_index.htm"),
              headFor(3) +
                  PageLines({
                      "<NOBR><A HREF=video/clip.mpg onMouseOver=\"window.status='http://"
                      "www.example.com:8080/clip.mpg';return true\"><IMG BORDER=0 ALIGN=TOP "
                      "SRC=../images/video.gif>clip.mpg</A></NOBR><BR>",
                  }) +
                  Tail);
    EXPECT_EQ(Page(domain, "other_index.htm"),
              headFor(4) +
                  PageLines({
                      "<NOBR><A HREF=application/tool1.zip onMouseOver=\"window.status='http://"
                      "www.example.com/get/tool-1.zip';return true\"><IMG BORDER=0 ALIGN=TOP "
                      "SRC=../images/other.gif>tool-1.zip</A></NOBR><BR>",
                  }) +
                  Tail);
    EXPECT_EQ(Page(domain, "thumbnail_index.htm"),
              headFor(-1) +
                  PageLines({
                      "<A HREF=image/wide.gif onMouseOver=\"window.status='http://"
                      "www.example.com/img/wide.gif';return true\"><IMG WIDTH=100 HEIGHT=50 "
                      "HSPACE=5 VSPACE=5 BORDER=1 ALIGN=MIDDLE SRC=image/wide.gif "
                      "ALT=\"wide.gif (200x100)\"></A>",
                      "<A HREF=image/photo.jpg onMouseOver=\"window.status='http://"
                      "www.example.com/img/photo.jpg';return true\"><IMG WIDTH=150 HEIGHT=1 "
                      "HSPACE=5 VSPACE=5 BORDER=1 ALIGN=MIDDLE SRC=image/photo.jpg "
                      "ALT=\"photo.jpg (1000x10)\"></A>",
                  }) +
                  Tail);
}

const std::string GreyText = "<IMG ALIGN=ABSMIDDLE SRC=../images/gtext.gif>";
const std::string GreyAudio = "<IMG ALIGN=ABSMIDDLE SRC=../images/gAudio.gif>";
const std::string GreyVideo = "<IMG ALIGN=ABSMIDDLE SRC=../images/gVideo.gif>";
const std::string GreyOther = "<IMG ALIGN=ABSMIDDLE SRC=../images/gOther.gif>";

TEST_F(DomainPages, OnlyImages) {
    Add(ArchivedItem("http://pics:80/a/small.gif", "image/gif", "small.gif"));
    Add(ArchivedItem("http://pics:80/", "image/jpeg", "pics.jpg"));
    Add(ArchivedItem("http://pics:80/b/broken.gif", "image/gif", "broken.gif"));
    WritePages({{"small.gif", GifPicture(60, 40)},
                {"pics.jpg", JfifPicture(640, 480)},
                {"broken.gif", "GIF8"}});

    EXPECT_EQ(Page("pics", "text_index.htm"), Forward("image_index.htm"));
    EXPECT_EQ(Page("pics", "audio_index.htm"), Forward("video_index.htm"));
    EXPECT_EQ(Page("pics", "video_index.htm"), Forward("other_index.htm"));
    EXPECT_EQ(Page("pics", "other_index.htm"), "");

    const std::string exploring = "<FONT SIZE=2 FACE=ARIAL>&nbsp;&nbsp;Exploring pics</FONT>";
    EXPECT_EQ(
        Page("pics", "image_index.htm"),
        Head(GreyText + "<IMG ALIGN=ABSMIDDLE ALT=\"3 image files\" SRC=../images/dImage.gif>" +
             GreyAudio + GreyVideo + GreyOther + exploring) +
            PageLines({
                "<NOBR><A HREF=thumbnail_index.htm TARGET=FILES><IMG BORDER=0 ALIGN=TOP "
                "SRC=../images/image.gif>Thumbnail Index (3 images)</A></NOBR><BR>",
                "<NOBR><A HREF=image/small.gif onMouseOver=\"window.status='http://pics/a/"
                "small.gif';return true\"><IMG BORDER=0 ALIGN=TOP "
                "SRC=../images/image.gif>small.gif</A></NOBR><BR>",
                "<NOBR><A HREF=image/pics.jpg onMouseOver=\"window.status='http://pics/';"
                "return true\"><IMG BORDER=0 ALIGN=TOP "
                "SRC=../images/image.gif>Image file</A></NOBR><BR>",
                "<NOBR><A HREF=image/broken.gif onMouseOver=\"window.status='http://pics/b/"
                "broken.gif';return true\"><IMG BORDER=0 ALIGN=TOP "
                "SRC=../images/image.gif>broken.gif</A></NOBR><BR>",
            }) +
            Tail);
    // The unreadable picture gets no thumbnail; the untitled root picture is
    // labelled "Other file" here.
    EXPECT_EQ(Page("pics", "thumbnail_index.htm"),
              Head(GreyText +
                   "<A HREF=image_index.htm onMouseOver=\"window.status='List image files';"
                   "return true\" TARGET=FILES><IMG BORDER=0 ALIGN=ABSMIDDLE ALT=\"3 image "
                   "files\" SRC=../images/uImage.gif></A>" +
                   GreyAudio + GreyVideo + GreyOther + exploring) +
                  PageLines({
                      "<A HREF=image/small.gif onMouseOver=\"window.status='http://pics/a/"
                      "small.gif';return true\"><IMG WIDTH=60 HEIGHT=40 HSPACE=5 VSPACE=5 "
                      "BORDER=1 ALIGN=MIDDLE SRC=image/small.gif ALT=\"small.gif (60x40)\"></A>",
                      "<A HREF=image/pics.jpg onMouseOver=\"window.status='http://pics/';return "
                      "true\"><IMG WIDTH=81 HEIGHT=61 HSPACE=5 VSPACE=5 BORDER=1 ALIGN=MIDDLE "
                      "SRC=image/pics.jpg ALT=\"Other file (640x480)\"></A>",
                  }) +
                  Tail);
}

TEST_F(DomainPages, OneImageIsSingular) {
    Add(ArchivedItem("http://one:80/x.gif", "image/gif", "x.gif"));
    WritePages({{"x.gif", GifPicture(1, 1)}});
    EXPECT_NE(Page("one", "image_index.htm").find(">Thumbnail Index (1 image)</A>"),
              std::string::npos);
}

TEST_F(DomainPages, OnlyOtherFiles) {
    Add(ArchivedItem("http://files:80/pub/tool.zip", "application/zip", "tool.zip"));
    Add(ArchivedItem("http://files:80/doc/manual.pdf", "application/pdf", "manual.pdf"));
    WritePages();
    EXPECT_EQ(Page("files", "text_index.htm"), Forward("image_index.htm"));
    EXPECT_EQ(Page("files", "image_index.htm"), Forward("audio_index.htm"));
    EXPECT_EQ(Page("files", "audio_index.htm"), Forward("video_index.htm"));
    EXPECT_EQ(Page("files", "video_index.htm"), Forward("other_index.htm"));
    EXPECT_EQ(Page("files", "thumbnail_index.htm"), "");
    EXPECT_EQ(
        Page("files", "other_index.htm"),
        Head(GreyText + "<IMG ALIGN=ABSMIDDLE SRC=../images/gImage.gif>" + GreyAudio + GreyVideo +
             "<IMG ALIGN=ABSMIDDLE ALT=\"2 other files\" SRC=../images/dOther.gif>"
             "<FONT SIZE=2 FACE=ARIAL>&nbsp;&nbsp;Exploring files</FONT>") +
            PageLines({
                "<NOBR><A HREF=application/tool.zip onMouseOver=\"window.status='http://"
                "files/pub/tool.zip';return true\"><IMG BORDER=0 ALIGN=TOP "
                "SRC=../images/other.gif>tool.zip</A></NOBR><BR>",
                "<NOBR><A HREF=application/manual.pdf onMouseOver=\"window.status='http://"
                "files/doc/manual.pdf';return true\"><IMG BORDER=0 ALIGN=TOP "
                "SRC=../images/other.gif>manual.pdf</A></NOBR><BR>",
            }) +
            Tail);
}

// Items go to their own domain only, in list order, whatever order domains and
// items come in; progress runs over the domains.
TEST_F(DomainPages, ThreeDomainsAndProgress) {
    Add(ArchivedItem("http://c.org:80/3.htm", "text/html", "3.htm"));
    Add(ArchivedItem("http://a.org:80/1.htm", "text/html", "1.htm"));
    Add(ArchivedItem("http://b.org:80/2.htm", "text/html", "2.htm"));
    Add(ArchivedItem("http://a.org:80/4.htm", "text/html", "4.htm"));
    WritePages();
    EXPECT_EQ(stages, std::vector<std::string>{"Indexing..."});
    EXPECT_EQ(percents, (std::vector<int>{0, 0, 50, 100}));
    const std::string a = Page("a.org", "text_index.htm");
    EXPECT_LT(a.find(">1.htm<"), a.find(">4.htm<"));
    EXPECT_EQ(a.find(">2.htm<"), std::string::npos);
    EXPECT_EQ(a.find(">3.htm<"), std::string::npos);
    EXPECT_NE(Page("b.org", "text_index.htm").find("HREF=text/2.htm "), std::string::npos);
    EXPECT_NE(Page("c.org", "text_index.htm").find("HREF=text/3.htm "), std::string::npos);
    EXPECT_NE(a.find("ALT=\"2 text files\""), std::string::npos);
}

TEST_F(DomainPages, OneDomainReportsFullProgress) {
    Add(ArchivedItem("http://a.org:80/1.htm", "text/html", "1.htm"));
    WritePages();
    EXPECT_EQ(percents, (std::vector<int>{0, 100}));
}

// A host that lost characters to the directory-name clean-up is still listed under
// the directory its files went to.
TEST_F(DomainPages, CleanedHostIsListedUnderItsDirectory) {
    Add(ArchivedItem("http://odd|host:80/page.htm", "text/html", "page.htm", "Odd"));
    ASSERT_EQ(list[0]->Domain, "oddhost");
    WritePages();
    EXPECT_NE(Page("oddhost", "text_index.htm").find("HREF=text/page.htm "), std::string::npos);
}

// Quotes, apostrophes, angle brackets and backslashes in an address or label stay
// inside the script string, the ALT attribute and the element; odd file names
// stay one link.
TEST_F(DomainPages, HostileAddressesAreEscaped) {
    // Not on port 80, so the address is shown exactly as archived, backslash included.
    Add(ArchivedItem("http://h:8080/it's\"<b>\\x.gif", "image/gif", "a#b.gif"));
    Add(ArchivedItem("http://h:80/t.htm", "text/html", "t.htm", "<script>alert(1)</script>"));
    WritePages({{"a#b.gif", GifPicture(10, 10)}});
    const std::string images = Page("h", "image_index.htm");
    EXPECT_NE(
        images.find("<NOBR><A HREF=image/a%23b.gif onMouseOver=\"window.status='http://h:8080/"
                    "it\\'s&quot;&lt;b&gt;\\\\x.gif';return true\"><IMG BORDER=0 ALIGN=TOP "
                    "SRC=../images/image.gif>it's\"&lt;b&gt;\\x.gif</A></NOBR><BR>\r\n"),
        std::string::npos)
        << images;
    const std::string thumbnails = Page("h", "thumbnail_index.htm");
    EXPECT_NE(thumbnails.find("SRC=image/a%23b.gif ALT=\"it&#39;s&quot;&lt;b&gt;\\x.gif "
                              "(10x10)\"></A>\r\n"),
              std::string::npos)
        << thumbnails;
    EXPECT_NE(Page("h", "text_index.htm").find(">&lt;script&gt;alert(1)&lt;/script&gt;</A>"),
              std::string::npos);
}

// Entries whose names cannot be paths have no archived copy: they are not listed.
TEST_F(DomainPages, UnsafeEntriesAreNotListed) {
    Add(ArchivedItem("http://h:80/ok.htm", "text/html", "ok.htm"));
    Add(ArchivedItem("http://h:80/up.htm", "text/html", ".."));
    Add(ArchivedItem("http://h:80/none.htm", "text/html", ""));
    auto noUrl = ArchivedItem("http://h:80/nourl.htm", "text/html", "nourl.htm");
    noUrl->Url.clear();
    Add(std::move(noUrl));
    WritePages();
    EXPECT_NE(Page("h", "text_index.htm").find("ALT=\"1 text files\""), std::string::npos);
}

TEST_F(DomainPages, UnwritablePageIsAnError) {
    Add(ArchivedItem("http://h:80/ok.htm", "text/html", "ok.htm"));
    WriteFile(archive / "h", "a file where the domain directory belongs");
    EXPECT_THROW(WritePages(), std::runtime_error);
}

}  // namespace
}  // namespace arkivo
