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

constexpr bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// A tab inside an unquoted value is dropped, but a line end ends it like a space:
// attributes are often written one to a line.
constexpr bool EndsUnquotedValue(char c) {
    return IsValueEnd(c) || c == '\n' || c == '\r' || c == '\f';
}

constexpr bool EndsAttributeName(char c) {
    return IsBlank(c) || c == '/' || c == '>' || c == '=';
}

std::string WithoutControlBytes(std::string_view text) {
    std::string kept(text);
    std::erase_if(kept, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return kept;
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
// this value does not count) or the value names no link. refresh is where the tag
// text first names "REFRESH", or npos.
std::optional<std::string> RefreshContent(std::size_t refresh, const TagAttribute& content,
                                          const std::string& base, const ArchiveLinkMap& map) {
    // The link is looked for before the value's first space, so "0; URL=x" is left as
    // it is written.
    const std::string& value = content.Value;
    const std::string_view head = std::string_view(value).substr(0, value.find(' '));
    const std::size_t url = FindNoCase(head, "URL");
    // Only a REFRESH named after this value keeps the tag as it is; a tag naming none at
    // all is rewritten all the same.
    if ((refresh != std::string_view::npos && refresh >= content.ValueEnd) ||
        url == std::string_view::npos) {
        return std::nullopt;
    }
    // The head gets a terminator of its own, so the link may run to its end; ReadValue
    // then steps over the "=" after "URL".
    const std::string terminated = std::string(head) + ">";
    std::size_t pos = url + 3;
    const TagValue link = ReadValue(terminated, pos);
    if (link.Text.empty() || NamesOtherScheme(link.Text)) {
        return std::nullopt;
    }
    std::string rewritten(head.substr(0, link.Start));
    rewritten += map.MapToArchive(ResolveLink(link.Text, base));
    rewritten += value.substr(std::min(pos, head.size()));
    return rewritten;
}

// The new text of one link value, or nothing when the value stays as written.
std::optional<std::string> LinkValue(std::string_view tagName, std::string_view attribute,
                                     const std::string& value, const std::string& base,
                                     const LinkOptions& options, const ArchiveLinkMap& map,
                                     LinkFlags& flags) {
    // Links within the page and links of other schemes (javascript:, mailto:, news:,
    // data:, ...) are kept exactly as written.
    if (value[0] == '#' || NamesOtherScheme(value)) {
        return std::nullopt;
    }
    // DATA is a link only in OBJECT; an INPUT links only through the SRC of an image
    // button. Neither case is an A HREF, so no flag is missed.
    if ((attribute == "DATA" && tagName != "OBJECT") ||
        (tagName == "INPUT" && attribute != "SRC")) {
        return std::nullopt;
    }
    std::string fragment;
    const std::size_t hash = value.find('#');
    // Only an anchor or a map name is worth keeping; it is cut so that the tag
    // stays within its bound.
    if ((attribute == "HREF" || attribute == "USEMAP") && hash != std::string::npos) {
        fragment = value.substr(hash, MaxFragmentLength);
    }
    const std::string resolved = ResolveLink(value, base);
    std::string mapped(map.MapToArchive(resolved));
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
                mapped = CanonicalUrl(resolved);
            }
        }
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
    // A space ends the value, so nothing is left to trim.
    value.Text = WithoutControlBytes(text.substr(value.Start, pos - value.Start));
    return value;
}

TagAttribute NextAttribute(std::string_view text, std::size_t& pos) {
    const std::size_t end = text.size();
    TagAttribute attribute;
    while (pos < end && (IsBlank(text[pos]) || text[pos] == '/')) {
        ++pos;
    }
    if (pos >= end || text[pos] == '>') {
        pos = end;
        return attribute;
    }
    // A name may begin with "=", which HTML takes as part of it.
    const std::size_t nameStart = pos++;
    while (pos < end && !EndsAttributeName(text[pos])) {
        ++pos;
    }
    attribute.Name = text.substr(nameStart, pos - nameStart);
    std::size_t equals = pos;
    while (equals < end && IsBlank(text[equals])) {
        ++equals;
    }
    if (equals >= end || text[equals] != '=') {
        return attribute;
    }
    pos = equals + 1;
    while (pos < end && IsBlank(text[pos])) {
        ++pos;
    }
    attribute.HasValue = true;
    std::size_t start = pos;
    std::size_t stop = pos;
    if (pos < end && (text[pos] == '"' || text[pos] == '\'')) {
        start = pos + 1;
        const std::size_t close = text.find(text[pos], start);
        if (close != std::string_view::npos) {
            stop = close;
            pos = close + 1;
        } else {
            // No closing quote: the tag's own ">" ends the value, unless the tag was cut.
            stop = text.back() == '>' ? end - 1 : end;
            pos = stop;
        }
        attribute.Terminated = stop < end;
    } else {
        while (pos < end && !EndsUnquotedValue(text[pos])) {
            ++pos;
        }
        stop = pos;
        attribute.Terminated = pos < end;
    }
    while (start < stop && IsBlank(text[start])) {
        ++start;
    }
    while (stop > start && IsBlank(text[stop - 1])) {
        --stop;
    }
    attribute.ValueStart = start;
    attribute.ValueEnd = stop;
    attribute.Value = WithoutControlBytes(text.substr(start, stop - start));
    return attribute;
}

LinkFlags RewriteTag(std::string& tagText, std::string& base, const LinkOptions& options,
                     const ArchiveLinkMap& map) {
    LinkFlags flags;
    std::size_t pos = 0;
    const std::string_view tagName = Lookup(LinkTags, NextWord(tagText, pos));
    if (tagName.empty()) {
        return flags;
    }
    // The new text is built piece by piece: the tag up to `copied`, values replaced.
    std::string rewritten;
    std::size_t copied = 0;
    bool replaced = false;
    std::optional<std::size_t> refresh;  // where the tag names "REFRESH", once asked
    while (pos < tagText.size()) {
        const TagAttribute found = NextAttribute(tagText, pos);
        const std::string_view attribute = Lookup(LinkAttributes, found.Name);
        if (attribute.empty() || !found.HasValue) {
            continue;
        }
        if (!found.Terminated) {
            continue;  // cut short with its tag: rewriting a part would garble it
        }
        // In META only CONTENT can hold a link (a refresh's); elsewhere CONTENT holds none,
        // and an empty value links nowhere.
        std::optional<std::string> replacement;
        if (tagName == "META") {
            if (attribute == "CONTENT") {
                if (!refresh) {
                    refresh = FindNoCase(tagText, "REFRESH");
                }
                replacement = RefreshContent(*refresh, found, base, map);
            }
        } else if (tagName == "BASE" && attribute == "HREF") {
            // The tag must go: a BASE left in would resolve the archive's relative links
            // against the web site. "<!>" is an empty declaration, which browsers ignore.
            base = LinkBase(found.Value);
            tagText = "!>";
            return flags;
        } else if (attribute != "CONTENT" && !found.Value.empty()) {
            replacement = LinkValue(tagName, attribute, found.Value, base, options, map, flags);
        }
        if (!replacement) {
            continue;
        }
        rewritten.append(tagText, copied, found.ValueStart - copied);
        rewritten += *replacement;
        copied = found.ValueEnd;
        replaced = true;
        // Too long for the tag bound: the tag stays whole and as it was, and no flag
        // claims a link it no longer has.
        if (rewritten.size() + (tagText.size() - copied) > MaxTagLength) {
            return LinkFlags{};
        }
    }
    if (replaced) {
        rewritten.append(tagText, copied);
        tagText = std::move(rewritten);
    }
    return flags;
}

}  // namespace arkivo
