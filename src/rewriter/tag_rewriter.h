#pragma once
// Rewriting the links inside one HTML tag.
//
// A tag is handled as a text on its own: the bytes after its "<" up to and
// including its ">", at most MaxTagLength of them. Only tags of the link tag table ("A",
// "IMG", "FRAME", "META", "BASE", "OBJECT", ...) are examined, and in them only
// the attributes of the link attribute table ("HREF", "SRC", "BACKGROUND", "DATA",
// ...). Each link value is resolved against the page's base and replaced by the
// relative path of its archived copy or by a not-found link; everything else in
// the tag stays byte for byte as it was.
//
// The tag name is the first word: a run of printable ASCII bytes other than space,
// '"', '<', '=' and '>'. Attributes are read as HTML writes them, as name and value
// pairs, so the text of one attribute's value is never taken for another attribute.

#include <cstddef>
#include <string>
#include <string_view>

#include "archive/archive_link_map.h"
#include "rewriter/link_options.h"

namespace arkivo {

// Tags of any real length are rewritten whole (an "A" with onMouseOver scripts
// easily passes 255 bytes); the bound only keeps pathological input in check.
inline constexpr std::size_t MaxTagLength = 64 * 1024;
inline constexpr std::size_t MaxFragmentLength = 50;

// The next word of text from pos (tag and attribute names are words), as written;
// callers compare it without regard to case. Separators before it are skipped and
// pos is left on the byte after it. The last byte of the text never belongs to a
// word (a complete tag text ends in ">"). Empty, with pos at the end, when no word
// is left.
std::string_view NextWord(std::string_view text, std::size_t& pos);

// An attribute value read by ReadValue.
struct TagValue {
    std::string Text;         // the value, control bytes (below 0x20) dropped
    std::size_t Start = 0;    // index of its first byte (after an opening quote)
    bool Terminated = false;  // it ended on a byte of the text, not at the text's end
};

// The next value of text from pos, as a refresh's CONTENT names its link after
// "URL": bytes that are neither '"' nor word bytes are skipped; a value then runs to
// the next space, '"', '<' or '>' (a quoted value too: it ends at its first space).
// pos is left on that terminator (or at the end), so text[0, Start) + new value +
// text[pos, end) replaces exactly the value and keeps its quotes. Empty when the
// text ends first.
TagValue ReadValue(std::string_view text, std::size_t& pos);

// One attribute of a tag text, as NextAttribute reads it.
struct TagAttribute {
    std::string_view Name;       // as written; empty when no attribute is left
    bool HasValue = false;       // an "=" follows the name
    std::string Value;           // blanks around it trimmed, control bytes inside dropped
    std::size_t ValueStart = 0;  // text[ValueStart, ValueEnd) is the value as written,
    std::size_t ValueEnd = 0;    // without its quotes and the blanks around it
    bool Terminated = false;     // it ended before the text did
};

// The attribute of text at pos: a name, then, when an "=" follows (blanks around it
// allowed), a value that is double-quoted, single-quoted or unquoted. A quoted value
// runs to its closing quote, or to the tag's final ">" when that quote is missing; an
// unquoted one to a space, line end, '"', '<' or '>' (a tab inside is dropped). pos is
// left after the attribute; blanks and "/" between attributes are skipped.
TagAttribute NextAttribute(std::string_view text, std::size_t& pos);

// What a rewritten "A" tag links to, for the emphasis and strike-out markers.
struct LinkFlags {
    bool ArchivedLink = false;    // its HREF leads to an archived copy
    bool UnarchivedLink = false;  // its HREF leads to the not-found page or the web
};

// Rewrites the link values of one tag text in place, against base (a LinkBase
// result). Links within the page ("#top") and links of schemes other than http and
// https ("javascript:", "mailto:", "news:") are left exactly as written. A BASE tag with an HREF
// replaces base for the rest of the page and becomes "!>" itself. A value that runs into the end of
// a tag text that was cut short is left as it is. When the rewritten text would exceed
// MaxTagLength, the tag is kept as it was and no flag is set.
LinkFlags RewriteTag(std::string& tagText, std::string& base, const LinkOptions& options,
                     const ArchiveLinkMap& map);

}  // namespace arkivo
