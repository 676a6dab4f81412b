#pragma once
// A small GIF reader for the icon tests: the logical screen, the global palette
// and the palette indices of the first image, decoded from its LZW stream.
// Anything it does not understand is reported as an error text.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/byte_reader.h"

namespace arkivo::testing {

struct DecodedGif {
    std::string Error;  // empty when the picture was read completely
    int Width = 0, Height = 0;
    std::size_t PaletteSize = 0;
    std::vector<std::uint8_t> Indices;
};

// The indices of an LZW stream given as the bytes of its data sub-blocks joined.
inline std::vector<std::uint8_t> LzwDecode(const std::string& data, int minCodeSize,
                                           std::string& error) {
    const unsigned clear = 1u << minCodeSize, end = clear + 1;
    std::vector<std::vector<std::uint8_t>> table;
    auto reset = [&] {
        table.assign(clear + 2, {});
        for (unsigned i = 0; i < clear; ++i) {
            table[i] = {static_cast<std::uint8_t>(i)};
        }
    };
    reset();
    int width = minCodeSize + 1;
    std::size_t bit = 0;
    long previous = -1;
    std::vector<std::uint8_t> out;
    for (;;) {
        if (bit + static_cast<std::size_t>(width) > data.size() * 8) {
            error = "code stream ends without an end code";
            return out;
        }
        unsigned code = 0;
        for (int i = 0; i < width; ++i, ++bit) {
            code |= ((static_cast<std::uint8_t>(data[bit / 8]) >> (bit % 8)) & 1u) << i;
        }
        if (code == clear) {
            reset();
            width = minCodeSize + 1;
            previous = -1;
            continue;
        }
        if (code == end) {
            return out;
        }
        std::vector<std::uint8_t> entry;
        if (code < table.size()) {
            entry = table[code];
        } else if (code == table.size() && previous >= 0) {
            entry = table[static_cast<std::size_t>(previous)];
            entry.push_back(entry[0]);
        } else {
            error = "code " + std::to_string(code) + " is not in the table";
            return out;
        }
        out.insert(out.end(), entry.begin(), entry.end());
        if (previous >= 0 && table.size() < 4096) {
            std::vector<std::uint8_t> added = table[static_cast<std::size_t>(previous)];
            added.push_back(entry[0]);
            table.push_back(std::move(added));
            if (table.size() == (1u << width) && width < 12) {
                ++width;
            }
        }
        previous = code;
    }
}

inline DecodedGif DecodeGif(const std::string& bytes) {
    DecodedGif gif;
    const ByteReader reader(bytes);
    if (bytes.substr(0, 6) != "GIF89a" && bytes.substr(0, 6) != "GIF87a") {
        gif.Error = "no GIF signature";
        return gif;
    }
    gif.Width = reader.U16LE(6).value_or(0);
    gif.Height = reader.U16LE(8).value_or(0);
    const std::uint8_t flags = reader.U8(10).value_or(0);
    std::size_t at = 13;
    if (flags & 0x80) {
        gif.PaletteSize = std::size_t{1} << ((flags & 7) + 1);
        at += 3 * gif.PaletteSize;
    }
    // Skip extensions up to the image descriptor.
    while (reader.U8(at) == 0x21) {
        at += 2;
        while (reader.U8(at).value_or(0) != 0) {
            at += 1 + *reader.U8(at);
        }
        ++at;
    }
    if (reader.U8(at) != 0x2C || !reader.Contains(at, 11)) {
        gif.Error = "no image descriptor";
        return gif;
    }
    if (*reader.U8(at + 9) & 0x80) {
        gif.Error = "unexpected local palette";
        return gif;
    }
    const int minCodeSize = *reader.U8(at + 10);
    at += 11;
    std::string data;
    for (;;) {
        const auto size = reader.U8(at);
        if (!size) {
            gif.Error = "data blocks run past the end";
            return gif;
        }
        if (*size == 0) {
            ++at;
            break;
        }
        const auto block = reader.Slice(at + 1, *size);
        if (!block) {
            gif.Error = "data block runs past the end";
            return gif;
        }
        data += *block;
        at += 1 + *size;
    }
    if (reader.U8(at) != 0x3B) {
        gif.Error = "no trailer";
        return gif;
    }
    gif.Indices = LzwDecode(data, minCodeSize, gif.Error);
    return gif;
}

}  // namespace arkivo::testing
