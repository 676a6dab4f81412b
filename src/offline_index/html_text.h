#pragma once
// Helpers shared by the generated index pages: CR LF lines, the escapes that keep
// untrusted text (web addresses, page titles, archive names) inside the attribute,
// script string or element it is written into, and writing a finished page. Text that holds none of
// the characters an escape handles comes out unchanged, so ordinary addresses and
// names are written exactly as they are. Links to archived files are written with
// LinkText (archive/link_text.h), which the rewritten pages share.

#include <string>
#include <string_view>

namespace arkivo {

// Appends line and CR LF to page.
void AppendLine(std::string& page, std::string_view line);

// Replaces the file at path, beneath archiveDir, by page (crash-safe). Throws
// std::runtime_error naming the file when it cannot be written: that ends the index
// generation.
void WriteIndexPage(const std::string& archiveDir, const std::string& path, std::string_view page);

// Text for a single-quoted script string inside a double-quoted attribute
// (onMouseOver="window.status='...'"): "\" and "'" get a backslash, '"', "<" and
// ">" become character references, and control characters become "\xHH".
std::string ScriptStringText(std::string_view text);

// Text for a double-quoted attribute value: '"', "'", "<" and ">" become character
// references.
std::string AttributeText(std::string_view text);

// Text between tags: "<" and ">" become character references. "&" stays, so the
// character references of a page title survive.
std::string ElementText(std::string_view text);

}  // namespace arkivo
