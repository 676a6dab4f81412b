#include "webarchive/warc_fields.h"

#include <cstdio>

namespace arkivo {
namespace {

void AppendEscaped(std::string& out, char prefix, unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, prefix == '%' ? "%%%02X" : "\\x%02X", byte);
    out += text;
}

bool UriMayHold(unsigned char byte) {
    if (byte <= 0x20 || byte >= 0x7F) {
        return false;
    }
    switch (byte) {
        case '"':
        case '<':
        case '>':
        case '\\':
        case '^':
        case '`':
        case '{':
        case '|':
        case '}':
            return false;
        default:
            return true;
    }
}

}  // namespace

std::string FieldLines(const WarcFields& fields) {
    std::string lines;
    for (const WarcField& field : fields) {
        lines.append(field.Name).append(": ").append(field.Value).append("\r\n");
    }
    return lines;
}

std::string WarcHead(const WarcFields& fields) {
    return "WARC/1.1\r\n" + FieldLines(fields) + "\r\n";
}

std::string UriText(std::string_view url) {
    std::string text;
    text.reserve(url.size());
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (UriMayHold(byte)) {
            text += c;
        } else {
            AppendEscaped(text, '%', byte);
        }
    }
    return text;
}

std::string FieldValue(std::string_view text) {
    std::string value;
    value.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '\\') {
            AppendEscaped(value, '\\', byte);
        } else {
            value += c;
        }
    }
    return value;
}

}  // namespace arkivo
