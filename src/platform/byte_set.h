#pragma once
// Sets of bytes for the rules that keep only some characters of untrusted text
// (file and directory names made from URLs).

#include <array>
#include <string_view>

namespace arkivo {

using ByteSet = std::array<bool, 256>;

// The ASCII letters and digits and the punctuation given.
constexpr ByteSet AlphanumericsAnd(std::string_view punctuation) {
    ByteSet set{};
    for (const char c : punctuation) {
        set[static_cast<unsigned char>(c)] = true;
    }
    for (int c = '0'; c <= '9'; ++c) {
        set[c] = true;
    }
    for (int c = 'A'; c <= 'Z'; ++c) {
        set[c] = true;
        set[c + ('a' - 'A')] = true;
    }
    return set;
}

}  // namespace arkivo
