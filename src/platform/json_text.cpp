#include "platform/json_text.h"

#include <cstdint>
#include <cstdio>

#include "platform/windows1252.h"

namespace arkivo {

void AppendJsonString(std::string& out, std::string_view text) {
    std::string converted;
    if (!IsValidUtf8(text)) {
        converted = Windows1252ToUtf8(text);
        text = converted;
    }
    out += '"';
    // Runs of characters that need no escape are copied whole.
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '"' && c != '\\' && static_cast<std::uint8_t>(c) >= 0x20) {
            continue;
        }
        out.append(text.substr(run, i - run));
        run = i + 1;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default: {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            }
        }
    }
    out.append(text.substr(run));
    out += '"';
}

std::string JsonString(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

}  // namespace arkivo
