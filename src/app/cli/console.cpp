#include "console.h"

#include <cstdio>

namespace arkivo::cli {

bool Print(const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
           std::fflush(stdout) == 0;
}

void Complain(const std::string& message) {
    std::fprintf(stderr, "arkivo: %s\n", message.c_str());
}

std::string PlainLines(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n') {
            plain += text[i];
        }
    }
    return plain;
}

std::string ItemCount(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " item" : " items");
}

}  // namespace arkivo::cli
