#pragma once
// Picture headers for the thumbnail tests, built the way real encoders lay them out.

#include <cstdint>
#include <string>

namespace arkivo::testing {

// A complete GIF89a picture of the given logical screen size: header, a two-colour
// global palette, one image descriptor and a one-pixel LZW stream, trailer.
inline std::string GifPicture(std::uint16_t width, std::uint16_t height) {
    std::string gif = "GIF89a";
    gif += static_cast<char>(width & 0xFF);
    gif += static_cast<char>(width >> 8);
    gif += static_cast<char>(height & 0xFF);
    gif += static_cast<char>(height >> 8);
    gif += std::string("\x80\x00\x00", 3);              // global palette of 2, background 0
    gif += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);  // black, white
    gif += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);  // one pixel
    gif += std::string("\x02\x02\x44\x01\x00", 5);  // min code size 2: clear, 0, end
    gif += ';';
    return gif;
}

inline std::string BigEndian16(std::uint16_t value) {
    std::string bytes;
    bytes += static_cast<char>(value >> 8);
    bytes += static_cast<char>(value & 0xFF);
    return bytes;
}

// One JPEG segment: marker, length (counting itself) and payload.
inline std::string JpegSegment(std::uint8_t marker, const std::string& payload) {
    std::string segment = "\xFF";
    segment += static_cast<char>(marker);
    segment += BigEndian16(static_cast<std::uint16_t>(payload.size() + 2));
    segment += payload;
    return segment;
}

// The JFIF APP0 segment of version 1.01, 72 dots per inch, no embedded thumbnail.
inline std::string JfifApp0() {
    return JpegSegment(0xE0, std::string("JFIF\0\x01\x01\x01\x00\x48\x00\x48\x00\x00", 14));
}

// A baseline frame header (SOF0 unless another marker is given) for three components.
inline std::string JpegFrame(std::uint16_t width, std::uint16_t height,
                             std::uint8_t marker = 0xC0) {
    std::string payload = "\x08";
    payload += BigEndian16(height);
    payload += BigEndian16(width);
    payload += std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
    return JpegSegment(marker, payload);
}

// A JFIF file head: SOI, APP0, a quantisation table, then the frame header.
inline std::string JfifPicture(std::uint16_t width, std::uint16_t height) {
    return "\xFF\xD8" + JfifApp0() + JpegSegment(0xDB, std::string(65, '\x01')) +
           JpegFrame(width, height) + JpegSegment(0xDA, std::string(12, '\0')) + "\xFF\xD9";
}

}  // namespace arkivo::testing
