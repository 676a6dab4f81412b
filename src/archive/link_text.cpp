#include "archive/link_text.h"

namespace arkivo {
namespace {

bool IsPlainLinkByte(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
        return true;
    }
    return std::string_view("-._~!$()*+,;@/{}").find(static_cast<char>(c)) !=
           std::string_view::npos;
}

}  // namespace

std::string LinkText(std::string_view path) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsPlainLinkByte(byte)) {
            out += c;
        } else {
            out += '%';
            out += Digits[byte >> 4];
            out += Digits[byte & 0x0F];
        }
    }
    return out;
}

}  // namespace arkivo
