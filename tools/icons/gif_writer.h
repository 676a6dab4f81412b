#pragma once
// Writes one-frame GIF89a pictures: a global palette of up to 256 colours and one
// image of palette indices, compressed with GIF's variable-width LZW.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace arkivo::icons {

struct Rgb {
    std::uint8_t R = 0, G = 0, B = 0;
    bool operator==(const Rgb&) const = default;
};

namespace detail {

// Packs codes of varying width, least significant bit first, into 255-byte blocks.
class CodeWriter {
  public:
    void Put(unsigned code, int width) {
        buffer_ |= static_cast<std::uint32_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            bytes_ += static_cast<char>(buffer_ & 0xFF);
            buffer_ >>= 8;
            bits_ -= 8;
        }
    }
    // The data sub-blocks and their terminator.
    std::string Finish() {
        if (bits_ > 0) {
            bytes_ += static_cast<char>(buffer_ & 0xFF);
        }
        std::string blocks;
        for (std::size_t at = 0; at < bytes_.size(); at += 255) {
            const std::size_t size = std::min<std::size_t>(255, bytes_.size() - at);
            blocks += static_cast<char>(size);
            blocks += bytes_.substr(at, size);
        }
        blocks += '\0';
        return blocks;
    }

  private:
    std::uint32_t buffer_ = 0;
    int bits_ = 0;
    std::string bytes_;
};

inline int BitLength(unsigned value) {
    int bits = 0;
    while (value != 0) {
        ++bits;
        value >>= 1;
    }
    return bits;
}

inline void PutU16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

}  // namespace detail

// The LZW code stream of indices (each below 1 << minCodeSize), as data sub-blocks.
// A code is written in as many bits as the decoder, one table entry behind the
// encoder, will read it with; the table is cleared when it holds 4096 codes.
inline std::string LzwEncode(const std::vector<std::uint8_t>& indices, int minCodeSize) {
    constexpr unsigned MaxCodes = 4096;
    const unsigned clear = 1u << minCodeSize;
    const unsigned end = clear + 1;
    detail::CodeWriter out;
    std::unordered_map<std::uint32_t, unsigned> table;
    unsigned next = clear + 2;
    auto width = [&] { return std::max(minCodeSize + 1, detail::BitLength(next - 1)); };

    out.Put(clear, minCodeSize + 1);
    long prefix = -1;
    for (std::uint8_t index : indices) {
        if (prefix < 0) {
            prefix = index;
            continue;
        }
        const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | index;
        const auto found = table.find(key);
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        out.Put(static_cast<unsigned>(prefix), width());
        table.emplace(key, next++);
        if (next == MaxCodes) {
            out.Put(clear, width());
            table.clear();
            next = clear + 2;
        }
        prefix = index;
    }
    if (prefix >= 0) {
        out.Put(static_cast<unsigned>(prefix), width());
        // The decoder adds an entry for the code just read before it reads the end.
        if (next < MaxCodes) {
            ++next;
        }
    }
    out.Put(end, std::min(12, std::max(minCodeSize + 1, detail::BitLength(next - 1))));
    return out.Finish();
}

// A complete GIF89a file of width x height palette indices.
inline std::string EncodeGif(int width, int height, const std::vector<Rgb>& palette,
                             const std::vector<std::uint8_t>& indices) {
    if (palette.empty() || palette.size() > 256 ||
        indices.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        throw std::invalid_argument("picture and palette do not fit together");
    }
    int tableBits = 1;
    while ((1u << tableBits) < palette.size()) {
        ++tableBits;
    }
    std::string gif = "GIF89a";
    detail::PutU16(gif, static_cast<unsigned>(width));
    detail::PutU16(gif, static_cast<unsigned>(height));
    gif += static_cast<char>(0x80 | ((tableBits - 1) << 4) | (tableBits - 1));
    gif += '\0';  // background colour
    gif += '\0';  // square pixels
    for (std::size_t i = 0; i < (1u << tableBits); ++i) {
        const Rgb colour = i < palette.size() ? palette[i] : Rgb{};
        gif += static_cast<char>(colour.R);
        gif += static_cast<char>(colour.G);
        gif += static_cast<char>(colour.B);
    }
    gif += ',';
    detail::PutU16(gif, 0);
    detail::PutU16(gif, 0);
    detail::PutU16(gif, static_cast<unsigned>(width));
    detail::PutU16(gif, static_cast<unsigned>(height));
    gif += '\0';  // no local palette, not interlaced
    const int minCodeSize = std::max(2, tableBits);
    gif += static_cast<char>(minCodeSize);
    gif += LzwEncode(indices, minCodeSize);
    gif += ';';
    return gif;
}

}  // namespace arkivo::icons
