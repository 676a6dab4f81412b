#include "offline_index/archive_page_text.h"

#include <algorithm>
#include <unordered_set>

#include "archive/link_text.h"
#include "explorer/domain_names.h"
#include "model/url.h"
#include "offline_index/html_text.h"
#include "platform/path.h"

namespace arkivo {
namespace {

constexpr std::string_view IndexTitleLine = "<TITLE>Arkivo - Offline Index</TITLE>";
constexpr std::string_view BodyLine = "<BODY BGCOLOR=#FFFFFF LINK=#000099 VLINK=#330066>";

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string page;
    for (std::string_view line : lines) {
        AppendLine(page, line);
    }
    return page;
}

}  // namespace

std::vector<std::string> OfflineDomainList(const TCacheItemList& archiveList) {
    std::vector<std::string> domains;
    std::unordered_set<std::string> seen;  // lower-cased names
    for (const auto& item : archiveList) {
        if (!item || item->Url.empty() || !IsSafePathComponent(item->Domain)) {
            continue;
        }
        if (seen.insert(LowerCase(item->Domain)).second) {
            domains.push_back(item->Domain);
        }
    }
    std::sort(domains.begin(), domains.end(),
              [](const std::string& a, const std::string& b) { return DomainNameLess(a, b); });
    return domains;
}

std::string FramesetPage() {
    return Lines({
        "<HTML>",
        "<HEAD>",
        IndexTitleLine,
        "</HEAD>",
        "<FRAMESET COLS=30%,*>",
        "<FRAME SRC=indlist.htm NAME=DOMAINS MARGINWIDTH=0>",
        "<FRAME SRC=indpage.htm NAME=FILES MARGINWIDTH=0>",
        "</FRAMESET>",
        "<NOFRAMES>",
        "The Arkivo index page is located <A HREF=indlist.htm>here</A>",
        "</NOFRAMES>",
        "</HTML>",
    });
}

std::string NotFoundPage() {
    return Lines({
        "<HTML>",
        "<HEAD>",
        IndexTitleLine,
        "</HEAD>",
        BodyLine,
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
    });
}

std::string WelcomePage() {
    return Lines({
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
    });
}

std::string DomainListPage(const std::vector<std::string>& domains, std::string_view dateText) {
    std::string page = Lines({
        "<HTML><HEAD><BASE TARGET=FILES>",
        "<TITLE>Arkivo - Offline Index</TITLE></HEAD>",
        BodyLine,
        "<TABLE BORDER=1 BGCOLOR=#CCCCCC CELLPADDING=4 CELLSPACING=0 WIDTH=100% HEIGHT=34>",
    });
    AppendLine(page, "<TR><TD><NOBR><FONT SIZE=2 FACE=ARIAL>&nbsp;&nbsp;Index created - " +
                         ElementText(dateText) + "</FONT></NOBR></TD></TR></TABLE>");
    AppendLine(page, "<B><FONT SIZE=2 FACE=ARIAL>");
    AppendLine(page, "<NOBR><IMG BORDER=0 ALIGN=TOP SRC=images/ofolder.gif>Domains</NOBR><BR>");
    for (std::size_t i = 0; i < domains.size(); ++i) {
        const char* folder = i + 1 == domains.size() ? "lfolder.gif" : "folder.gif";
        AppendLine(page, "<NOBR><A HREF=" + LinkText(domains[i]) +
                             "/text_index.htm><IMG WIDTH=38 HEIGHT=18 BORDER=0 ALIGN=TOP "
                             "SRC=images/" +
                             folder + ">" + ElementText(domains[i]) + "</A></NOBR><BR>");
    }
    AppendLine(page, "</FONT></B></BODY></HTML>");
    return page;
}

}  // namespace arkivo
