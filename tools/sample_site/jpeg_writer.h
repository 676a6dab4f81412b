#pragma once
// Writes baseline JFIF JPEG pictures: three 8-bit components (Y, Cb, Cr) without
// subsampling, one interleaved scan, the example quantisation tables of the JPEG
// standard (luminance for Y, chrominance for Cb and Cr), and its example luminance
// Huffman tables for all three components. The DCT is the plain floating-point
// definition; the pictures are small.

#include <array>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "picture.h"

namespace arkivo::samples {
namespace jpeg {

inline constexpr std::array<std::uint8_t, 64> ZigZag = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// In natural (row by row) order.
inline constexpr std::array<std::uint8_t, 64> LuminanceQuantisation = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

inline constexpr std::array<std::uint8_t, 64> ChrominanceQuantisation = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// Code counts by length (1 to 16), then the symbols in code order.
inline constexpr std::array<std::uint8_t, 16> DcCounts = {0, 1, 5, 1, 1, 1, 1, 1,
                                                          1, 0, 0, 0, 0, 0, 0, 0};
inline constexpr std::array<std::uint8_t, 12> DcSymbols = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
inline constexpr std::array<std::uint8_t, 16> AcCounts = {0, 2, 1, 3, 3, 2, 4, 3,
                                                          5, 5, 4, 4, 0, 0, 1, 0x7D};
inline constexpr std::array<std::uint8_t, 162> AcSymbols = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61,
    0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xA1, 0x08, 0x23, 0x42, 0xB1, 0xC1, 0x15, 0x52,
    0xD1, 0xF0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0A, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x25,
    0x26, 0x27, 0x28, 0x29, 0x2A, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x43, 0x44, 0x45,
    0x46, 0x47, 0x48, 0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x63, 0x64,
    0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
    0x9A, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6,
    0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3,
    0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8,
    0xE9, 0xEA, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA};

struct Code {
    std::uint16_t Bits = 0;
    int Length = 0;  // 0: the symbol has no code
};

// The canonical codes of a table, indexed by symbol.
template <std::size_t N>
std::array<Code, 256> CodesOf(const std::array<std::uint8_t, 16>& counts,
                              const std::array<std::uint8_t, N>& symbols) {
    std::array<Code, 256> codes{};
    unsigned next = 0;
    std::size_t k = 0;
    for (int length = 1; length <= 16; ++length) {
        for (int i = 0; i < counts[length - 1]; ++i) {
            codes[symbols[k++]] = {static_cast<std::uint16_t>(next++), length};
        }
        next <<= 1;
    }
    return codes;
}

// Entropy-coded bits, most significant first, with a zero byte stuffed after every
// 0xFF; the last byte is padded with one bits.
class BitWriter {
  public:
    void Put(unsigned bits, int length) {
        for (int i = length - 1; i >= 0; --i) {
            buffer_ = (buffer_ << 1) | ((bits >> i) & 1);
            if (++count_ == 8) {
                Flush();
            }
        }
    }
    void Put(const Code& code) {
        if (code.Length == 0) {
            throw std::logic_error("a JPEG symbol without a Huffman code");
        }
        Put(code.Bits, code.Length);
    }
    std::string Finish() {
        while (count_ != 0) {
            Put(1, 1);
        }
        return bytes_;
    }

  private:
    void Flush() {
        bytes_ += static_cast<char>(buffer_);
        if (buffer_ == 0xFF) {
            bytes_ += '\0';
        }
        buffer_ = 0;
        count_ = 0;
    }
    unsigned buffer_ = 0;
    int count_ = 0;
    std::string bytes_;
};

// The size category of a coefficient and its bits as the standard stores them.
inline int Category(int value) {
    int magnitude = std::abs(value), bits = 0;
    while (magnitude != 0) {
        ++bits;
        magnitude >>= 1;
    }
    return bits;
}

inline unsigned ValueBits(int value, int category) {
    return static_cast<unsigned>(value < 0 ? value + (1 << category) - 1 : value);
}

// The quantised coefficients of one 8 x 8 block of samples (0 to 255), in zigzag
// order.
inline std::array<int, 64> QuantisedBlock(const std::array<double, 64>& samples,
                                          const std::array<std::uint8_t, 64>& quantisation) {
    const double pi = std::acos(-1.0);
    std::array<int, 64> out{};
    for (int k = 0; k < 64; ++k) {
        const int u = ZigZag[k] % 8, v = ZigZag[k] / 8;
        double sum = 0.0;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                sum += (samples[y * 8 + x] - 128.0) * std::cos((2 * x + 1) * u * pi / 16) *
                       std::cos((2 * y + 1) * v * pi / 16);
            }
        }
        const double cu = u == 0 ? std::sqrt(0.5) : 1.0, cv = v == 0 ? std::sqrt(0.5) : 1.0;
        out[k] = static_cast<int>(std::lround(0.25 * cu * cv * sum / quantisation[ZigZag[k]]));
    }
    return out;
}

inline void PutSegment(std::string& out, std::uint8_t marker, const std::string& body) {
    out += '\xFF';
    out += static_cast<char>(marker);
    out += static_cast<char>((body.size() + 2) >> 8);
    out += static_cast<char>((body.size() + 2) & 0xFF);
    out += body;
}

inline void PutU16BE(std::string& out, unsigned value) {
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value & 0xFF);
}

}  // namespace jpeg

// A complete JFIF file of the picture.
inline std::string EncodeJpeg(const Picture& picture) {
    using namespace jpeg;
    std::string out = "\xFF\xD8";
    PutSegment(out, 0xE0, std::string("JFIF\0\x01\x01\x00\x00\x01\x00\x01\x00\x00", 14));
    std::string tables;
    for (const auto* table : {&LuminanceQuantisation, &ChrominanceQuantisation}) {
        tables += static_cast<char>(table == &LuminanceQuantisation ? 0 : 1);
        for (std::uint8_t index : ZigZag) {
            tables += static_cast<char>((*table)[index]);
        }
    }
    PutSegment(out, 0xDB, tables);
    std::string frame = "\x08";
    PutU16BE(frame, static_cast<unsigned>(picture.Height));
    PutU16BE(frame, static_cast<unsigned>(picture.Width));
    frame += std::string("\x03\x01\x11\x00\x02\x11\x01\x03\x11\x01", 10);
    PutSegment(out, 0xC0, frame);
    std::string huffman(1, '\0');  // class DC, table 0
    huffman.append(DcCounts.begin(), DcCounts.end());
    huffman.append(DcSymbols.begin(), DcSymbols.end());
    huffman += '\x10';  // class AC, table 0
    huffman.append(AcCounts.begin(), AcCounts.end());
    huffman.append(AcSymbols.begin(), AcSymbols.end());
    PutSegment(out, 0xC4, huffman);
    PutSegment(out, 0xDA, std::string("\x03\x01\x00\x02\x00\x03\x00\x00\x3F\x00", 10));

    const auto dcCodes = CodesOf(DcCounts, DcSymbols);
    const auto acCodes = CodesOf(AcCounts, AcSymbols);
    BitWriter bits;
    std::array<int, 3> previousDc{};
    for (int top = 0; top < picture.Height; top += 8) {
        for (int left = 0; left < picture.Width; left += 8) {
            for (int component = 0; component < 3; ++component) {
                std::array<double, 64> samples{};
                for (int y = 0; y < 8; ++y) {
                    for (int x = 0; x < 8; ++x) {
                        // Pixels beyond the edge repeat the last row and column.
                        const Rgb pixel = picture.At(std::min(left + x, picture.Width - 1),
                                                     std::min(top + y, picture.Height - 1));
                        const double r = pixel.R, g = pixel.G, b = pixel.B;
                        samples[y * 8 + x] = component == 0 ? 0.299 * r + 0.587 * g + 0.114 * b
                                             : component == 1
                                                 ? 128 - 0.168736 * r - 0.331264 * g + 0.5 * b
                                                 : 128 + 0.5 * r - 0.418688 * g - 0.081312 * b;
                    }
                }
                const auto block = QuantisedBlock(
                    samples, component == 0 ? LuminanceQuantisation : ChrominanceQuantisation);
                const int difference = block[0] - previousDc[component];
                previousDc[component] = block[0];
                const int dcCategory = Category(difference);
                bits.Put(dcCodes[dcCategory]);
                bits.Put(ValueBits(difference, dcCategory), dcCategory);
                int zeros = 0;
                for (int k = 1; k < 64; ++k) {
                    if (block[k] == 0) {
                        ++zeros;
                        continue;
                    }
                    for (; zeros >= 16; zeros -= 16) {
                        bits.Put(acCodes[0xF0]);
                    }
                    const int category = Category(block[k]);
                    bits.Put(acCodes[(zeros << 4) | category]);
                    bits.Put(ValueBits(block[k], category), category);
                    zeros = 0;
                }
                if (zeros > 0) {
                    bits.Put(acCodes[0x00]);
                }
            }
        }
    }
    out += bits.Finish();
    out += "\xFF\xD9";
    return out;
}

}  // namespace arkivo::samples
