#include "console.h"

#include <algorithm>
#include <cstdio>

namespace arkivo::cli {

bool Print(const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
           std::fflush(stdout) == 0;
}

void Complain(const std::string& message) {
    std::fprintf(stderr, "arkivo: %s\n", message.c_str());
}

std::string PrintableText(std::string_view text) {
    constexpr char HexDigits[] = "0123456789ABCDEF";
    std::string printable;
    printable.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            printable += "\\x";
            printable += HexDigits[byte >> 4];
            printable += HexDigits[byte & 0x0F];
        } else {
            printable += c;
        }
    }
    return printable;
}

std::string PlainLines(std::string_view text) {
    std::string plain;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find("\r\n", start), text.size());
        plain += PrintableText(text.substr(start, end - start));
        if (end < text.size()) {
            plain += '\n';
        }
        start = end + 2;
    }
    return plain;
}

std::string ItemCount(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " item" : " items");
}

}  // namespace arkivo::cli
