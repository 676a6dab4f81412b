#include "rewriter/tag_rewriter.h"

#include <algorithm>
#include <array>
#include <optional>

#include "archive/archive_layout.h"
#include "model/url.h"
#include "rewriter/link_resolution.h"

namespace arkivo {
namespace {

// Besides the plain links: BODY, TABLE and its cells for BACKGROUND images, BGSOUND and
// EMBED for sounds and films, APPLET for its CODE, META for a refresh.
constexpr std::array<std::string_view, 16> LinkTags = {
    "A",    "IMG",  "AREA",  "BODY",  "INPUT", "FRAME", "APPLET", "BGSOUND",
    "META", "BASE", "EMBED", "TABLE", "TD",    "TH",    "TR",     "OBJECT"};

constexpr std::array<std::string_view, 9> LinkAttributes = {
    "HREF", "SRC", "BACKGROUND", "CODE", "CONTENT", "DYNSRC", "LOWSRC", "DATA", "USEMAP"};

// Printable ASCII except space, '"', '<', '=' and '>'.
constexpr bool IsWordByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte == 0x21 || (byte >= 0x23 && byte <= 0x3B) || (byte >= 0x3F && byte <= 0x7E);
}

constexpr bool IsValueEnd(char c) {
    return c == ' ' || c == '"' || c == '<' || c == '>';
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
}

bool EqualsNoCase(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (Upper(text[i]) != upper[i]) {
            return false;
        }
    }
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view upper) {
    return text.size() >= upper.size() && EqualsNoCase(text.substr(0, upper.size()), upper);
}

std::size_t FindNoCase(std::string_view text, std::string_view upper) {
    for (std::size_t i = 0; i + upper.size() <= text.size(); ++i) {
        if (EqualsNoCase(text.substr(i, upper.size()), upper)) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The table entry that word names (so callers hold a text that outlives the tag
// text), or an empty view.
template <std::size_t N>
std::string_view Lookup(const std::array<std::string_view, N>& table, std::string_view word) {
    for (std::string_view entry : table) {
        if (EqualsNoCase(word, entry)) {
            return entry;
        }
    }
    return {};
}

// Attributes whose target the page uses rather than links to: they set no link flags and
// never show the web address; a missing SRC may become the not-found picture.
bool IsImageAttribute(std::string_view attribute) {
    return attribute == "SRC" || attribute == "USEMAP" || attribute == "LOWSRC" ||
           attribute == "DYNSRC" || attribute == "BACKGROUND";
}

// The new CONTENT value of a META refresh: the link after its "URL" mapped into
// the archive. Nothing when the tag is no refresh (a "REFRESH" that only follows
// this value does not count) or the value names no link.
std::optional<std::string> RefreshContent(std::string_view tagText, std::size_t valueEnd,
                                          const std::string& content, const std::string& base,
                                          const ArchiveLinkMap& map) {
    const std::size_t refresh = FindNoCase(tagText, "REFRESH");
    const std::size_t url = FindNoCase(content, "URL");
    // Only a REFRESH named after this value keeps the tag as it is; a tag naming none at
    // all is rewritten all the same.
    if ((refresh != std::string_view::npos && refresh >= valueEnd) ||
        url == std::string_view::npos) {
        return std::nullopt;
    }
    // The link runs to the end of the value, so the value gets a terminator of its own;
    // ReadValue then steps over the "=" after "URL".
    const std::string terminated = content + ">";
    std::size_t pos = url + 3;
    const TagValue link = ReadValue(terminated, pos);
    if (link.Text.empty()) {
        return std::nullopt;
    }
    std::string rewritten = content.substr(0, link.Start);
    rewritten += map.MapToArchive(ResolveLink(link.Text, base));
    return rewritten;
}

// The new text of one link value, or nothing when the value stays as written.
std::optional<std::string> LinkValue(std::string_view tagName, std::string_view attribute,
                                     const std::string& value, const std::string& base,
                                     const LinkOptions& options, const ArchiveLinkMap& map,
                                     LinkFlags& flags) {
    // Links within the page and mail addresses are kept as written.
    std::string mapped = value;
    if (value[0] != '#' && !StartsWithNoCase(value, "MAILTO:")) {
        std::string fragment;
        const std::size_t hash = value.find('#');
        // Only an anchor or a map name is worth keeping; it is cut so that the tag
        // stays within its bound.
        if ((attribute == "HREF" || attribute == "USEMAP") && hash != std::string::npos) {
            fragment = value.substr(hash, MaxFragmentLength);
        }
        const std::string resolved = ResolveLink(value, base);
        mapped = map.MapToArchive(resolved);
        const bool found = mapped != NotFoundPageLink;
        if (found) {
            mapped += fragment;
        }
        const bool linksToPage = tagName == "A" && attribute == "HREF";
        // An applet's CODE names a class, not a page: it gets neither flags nor the web
        // address, only the archived copy or the not-found page.
        if (IsImageAttribute(attribute)) {
            // A FRAME's SRC is a page and an EMBED's a sound or film: no picture for those.
            if (!found && attribute == "SRC" && tagName != "FRAME" && tagName != "EMBED") {
                mapped = NotFoundPictureLink;
            }
        } else if (attribute != "CODE") {
            if (found) {
                flags.ArchivedLink = flags.ArchivedLink || linksToPage;
            } else {
                flags.UnarchivedLink = flags.UnarchivedLink || linksToPage;
                if (options.ShowOriginalUrls) {
                    mapped = CanonicalUrlShort(resolved);
                }
            }
        }
    }
    // Tested after the mapping, which these cases cannot flag (only A HREF sets flags).
    // DATA is a link only in OBJECT, and not when it holds the object itself.
    if (attribute == "DATA" && (tagName != "OBJECT" || StartsWithNoCase(value, "DATA:"))) {
        return std::nullopt;
    }
    // An INPUT links only through the SRC of an image button.
    if (tagName == "INPUT" && attribute != "SRC") {
        return std::nullopt;
    }
    return mapped;
}

}  // namespace

std::string_view NextWord(std::string_view text, std::size_t& pos) {
    const std::size_t end = text.empty() ? 0 : text.size() - 1;
    while (pos < end && !IsWordByte(text[pos])) {
        ++pos;
    }
    if (pos >= end) {
        // At the end, so that the caller's scan loop ends too.
        pos = text.size();
        return {};
    }
    const std::size_t start = pos;
    while (pos < end && IsWordByte(text[pos])) {
        ++pos;
    }
    return text.substr(start, pos - start);
}

TagValue ReadValue(std::string_view text, std::size_t& pos) {
    // Skips the "=" and blanks before the value, and a stray '<' or '>' as well.
    while (pos < text.size() && text[pos] != '"' && !IsWordByte(text[pos])) {
        ++pos;
    }
    TagValue value;
    if (pos >= text.size()) {
        pos = text.size();
        value.Start = pos;
        return value;
    }
    // Only the opening quote is stepped over; the closing one ends the value and stays.
    if (text[pos] == '"') {
        ++pos;
    }
    value.Start = pos;
    while (pos < text.size() && !IsValueEnd(text[pos])) {
        ++pos;
    }
    value.Terminated = pos < text.size();
    value.Text.assign(text.substr(value.Start, pos - value.Start));
    // Control bytes are dropped; a space ends the value, so nothing is left to trim.
    std::erase_if(value.Text, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return value;
}

LinkFlags RewriteTag(std::string& tagText, std::string& base, const LinkOptions& options,
                     const ArchiveLinkMap& map) {
    LinkFlags flags;
    std::size_t pos = 0;
    const std::string_view tagName = Lookup(LinkTags, NextWord(tagText, pos));
    if (tagName.empty()) {
        return flags;
    }
    std::optional<std::string> original;  // the tag as read, once a value was replaced
    while (pos < tagText.size()) {
        const std::string_view attribute = Lookup(LinkAttributes, NextWord(tagText, pos));
        if (attribute.empty()) {
            continue;
        }
        const TagValue value = ReadValue(tagText, pos);
        if (!value.Terminated) {
            continue;  // cut short with its tag: rewriting a part would garble it
        }
        // In META only CONTENT can hold a link (a refresh's); elsewhere CONTENT holds none,
        // and an empty value links nowhere.
        std::optional<std::string> replacement;
        if (tagName == "META") {
            if (attribute == "CONTENT") {
                replacement = RefreshContent(tagText, pos, value.Text, base, map);
            }
        } else if (tagName == "BASE" && attribute == "HREF") {
            // The tag must go: a BASE left in would resolve the archive's relative links
            // against the web site. "<!>" is an empty declaration, which browsers ignore.
            base = LinkBase(value.Text);
            tagText = "!>";
            break;
        } else if (attribute != "CONTENT" && !value.Text.empty()) {
            replacement = LinkValue(tagName, attribute, value.Text, base, options, map, flags);
        }
        if (!replacement) {
            continue;
        }
        // Too long for the tag bound: earlier replacements are undone as well, so the tag
        // stays whole and consistent, and no flag claims a link it no longer has.
        const std::size_t oldLength = pos - value.Start;
        if (tagText.size() - oldLength + replacement->size() > MaxTagLength) {
            if (original) {
                tagText = std::move(*original);
            }
            return LinkFlags{};
        }
        if (!original) {
            original = tagText;
        }
        tagText.replace(value.Start, oldLength, *replacement);
        // Scanning goes on after the new value, so its text is not read as words.
        pos = value.Start + replacement->size();
    }
    return flags;
}

}  // namespace arkivo
