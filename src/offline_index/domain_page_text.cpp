#include "offline_index/domain_page_text.h"

#include "archive/archive_layout.h"
#include "archive/link_text.h"
#include "model/url.h"
#include "offline_index/html_text.h"

namespace arkivo {
namespace {

struct KindInfo {
    std::string_view Page;
    std::string_view Word;
    std::string_view ItemIcon;
    std::string_view FallbackLabel;
    std::string_view DownIcon;
    std::string_view GreyIcon;
    std::string_view UpIcon;
};

// In FileClass order, which is also the order of the buttons and of forwarding.
constexpr std::array<KindInfo, KindCount> Kinds = {{
    {"text_index.htm", "text", "text.gif", "No Title", "dtext.gif", "gtext.gif", "utext.gif"},
    {"image_index.htm", "image", "image.gif", "Image file", "dImage.gif", "gImage.gif",
     "uImage.gif"},
    {"audio_index.htm", "audio", "audio.gif", "Audio file", "dAudio.gif", "gAudio.gif",
     "uAudio.gif"},
    {"video_index.htm", "video", "video.gif", "Video file", "dVideo.gif", "gVideo.gif",
     "uVideo.gif"},
    {"other_index.htm", "other", "other.gif", "Other file", "dOther.gif", "gOther.gif",
     "uOther.gif"},
}};

constexpr std::size_t MaxShortLabel = 50;

const KindInfo& InfoOf(FileClass kind) {
    return Kinds[static_cast<std::size_t>(kind)];
}

std::string KindButton(std::size_t kind, std::optional<FileClass> current, std::size_t count) {
    const KindInfo& info = Kinds[kind];
    const std::string alt = std::to_string(count) + " " + std::string(info.Word) + " files";
    if (current && static_cast<std::size_t>(*current) == kind) {
        return "<IMG ALIGN=ABSMIDDLE ALT=\"" + alt + "\" SRC=../images/" +
               std::string(info.DownIcon) + ">";
    }
    if (count == 0) {
        return "<IMG ALIGN=ABSMIDDLE SRC=../images/" + std::string(info.GreyIcon) + ">";
    }
    return "<A HREF=" + std::string(info.Page) + " onMouseOver=\"window.status='List " +
           std::string(info.Word) +
           " files';return true\" TARGET=FILES><IMG BORDER=0 ALIGN=ABSMIDDLE ALT=\"" + alt +
           "\" SRC=../images/" + std::string(info.UpIcon) + "></A>";
}

// The item's archived copy relative to the domain directory.
std::string ItemLink(const TCacheItem& item) {
    return LinkText(ArchiveFolderOf(item.Kind) + "/" + item.ArchiveName);
}

std::string ShortLabel(const std::string& webAddress) {
    return CutTo(LastPathSegment(webAddress), MaxShortLabel);
}

std::string MouseOver(const std::string& webAddress) {
    return " onMouseOver=\"window.status='" + ScriptStringText(webAddress) + "';return true\"";
}

std::string ItemLine(FileClass kind, const TCacheItem& item) {
    const KindInfo& info = InfoOf(kind);
    const std::string webAddress = CanonicalUrl(item.Url);
    std::string label;
    if (kind == FileClass::Text && !item.Title.empty()) {
        label = item.Title;
    } else {
        label = ShortLabel(webAddress);
        if (label.empty()) {
            label = info.FallbackLabel;
        }
    }
    return "<NOBR><A HREF=" + ItemLink(item) + MouseOver(webAddress) +
           "><IMG BORDER=0 ALIGN=TOP SRC=../images/" + std::string(info.ItemIcon) + ">" +
           ElementText(label) + "</A></NOBR><BR>";
}

std::string ForwardingPage(FileClass kind) {
    if (kind == FileClass::Other) {
        return {};
    }
    const KindInfo& next = Kinds[static_cast<std::size_t>(kind) + 1];
    std::string page;
    AppendLine(page, "<HTML>");
    AppendLine(page, "<HEAD>");
    AppendLine(page, "<META HTTP-EQUIV=REFRESH CONTENT=\"0; URL=" + std::string(next.Page) + "\">");
    AppendLine(page, "</HEAD>");
    AppendLine(page, "</HTML>");
    return page;
}

std::string ThumbnailLine(const TCacheItem& item, const Thumbnail& thumbnail) {
    const std::string webAddress = CanonicalUrl(item.Url);
    std::string label = ShortLabel(webAddress);
    if (label.empty()) {
        label = "Other file";
    }
    const std::string link = ItemLink(item);
    return "<A HREF=" + link + MouseOver(webAddress) +
           "><IMG WIDTH=" + std::to_string(thumbnail.Shown.Width) +
           " HEIGHT=" + std::to_string(thumbnail.Shown.Height) +
           " HSPACE=5 VSPACE=5 BORDER=1 ALIGN=MIDDLE SRC=" + link + " ALT=\"" +
           AttributeText(label) + " (" + std::to_string(thumbnail.Full.Width) + "x" +
           std::to_string(thumbnail.Full.Height) + ")\"></A>";
}

}  // namespace

std::string_view KindPageName(FileClass kind) {
    return InfoOf(kind).Page;
}

void WriteNavigationBar(std::string& page, std::optional<FileClass> current,
                        std::string_view domain, const DomainItems& items) {
    AppendLine(page, "<HTML><HEAD><BASE TARGET=\"_top\"></HEAD>");
    AppendLine(page, "<BODY BGCOLOR=#FFFFFF LINK=#000099 VLINK=#330066>");
    AppendLine(page,
               "<TABLE BORDER=1 BGCOLOR=#CCCCCC CELLPADDING=4 CELLSPACING=0 WIDTH=100% HEIGHT=34>");
    AppendLine(page, "<TR><TD><NOBR>&nbsp;");
    std::string buttons;
    for (std::size_t kind = 0; kind < KindCount; ++kind) {
        buttons += KindButton(kind, current, items[kind].size());
    }
    AppendLine(page, buttons + "<FONT SIZE=2 FACE=ARIAL>&nbsp;&nbsp;Exploring " +
                         ElementText(domain) + "</FONT>");
    AppendLine(page, "</TD></TR></TABLE>");
    AppendLine(page, "<B><FONT SIZE=2 FACE=ARIAL>");
}

std::string KindPage(FileClass kind, std::string_view domain, const DomainItems& items) {
    const auto& list = items[static_cast<std::size_t>(kind)];
    if (list.empty()) {
        return ForwardingPage(kind);
    }
    std::string page;
    WriteNavigationBar(page, kind, domain, items);
    if (kind == FileClass::Image) {
        const std::string count = std::to_string(list.size());
        AppendLine(page,
                   "<NOBR><A HREF=thumbnail_index.htm TARGET=FILES><IMG BORDER=0 ALIGN=TOP "
                   "SRC=../images/image.gif>Thumbnail Index (" +
                       count + (list.size() > 1 ? " images" : " image") + ")</A></NOBR><BR>");
    }
    for (const TCacheItem* item : list) {
        AppendLine(page, ItemLine(kind, *item));
    }
    AppendLine(page, "</BODY></HTML>");
    return page;
}

std::string ThumbnailPage(std::string_view domain, const DomainItems& items,
                          const ThumbnailLookup& thumbnailOf) {
    const auto& images = items[static_cast<std::size_t>(FileClass::Image)];
    if (images.empty()) {
        return {};
    }
    std::string page;
    WriteNavigationBar(page, std::nullopt, domain, items);
    for (const TCacheItem* item : images) {
        if (const auto thumbnail = thumbnailOf(*item)) {
            AppendLine(page, ThumbnailLine(*item, *thumbnail));
        }
    }
    AppendLine(page, "</BODY></HTML>");
    return page;
}

}  // namespace arkivo
