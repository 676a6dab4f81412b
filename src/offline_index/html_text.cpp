#include "offline_index/html_text.h"

#include <cstdio>
#include <stdexcept>

#include "platform/rooted_files.h"

namespace arkivo {
namespace {

std::string Hex2(unsigned char c) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", c);
    return digits;
}

// The text with '<' and '>' as entities, and with withQuotes also both quote marks.
std::string EntityEscaped(std::string_view text, bool withQuotes) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (withQuotes && c == '"') {
            out += "&quot;";
        } else if (withQuotes && c == '\'') {
            out += "&#39;";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

void AppendLine(std::string& page, std::string_view line) {
    page += line;
    page += "\r\n";
}

void WriteIndexPage(const std::string& archiveDir, const std::string& path, std::string_view page) {
    // Each page is replaced whole, but not synced: every run rebuilds all of them
    // from archive.dat, which is synced, and a sync per page made small runs slow.
    const Status written =
        WriteFileBeneath(archiveDir, path, page, ReplaceOptions{Durability::Unsynced, {}, {}});
    if (!written.ok()) {
        throw std::runtime_error(written.message());
    }
}

std::string ScriptStringText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\'':
                out += "\\'";
                break;
            case '"':
                out += "&quot;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    out += "\\x" + Hex2(byte);
                } else {
                    out += c;
                }
        }
    }
    return out;
}

std::string AttributeText(std::string_view text) {
    return EntityEscaped(text, true);
}

std::string ElementText(std::string_view text) {
    return EntityEscaped(text, false);
}

}  // namespace arkivo
