#pragma once
// Writes AVI video files: one video stream of uncompressed 24-bit frames (bottom-up
// BGR rows padded to four bytes), each frame a key frame listed in the index.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "picture.h"
#include "platform/byte_reader.h"

namespace arkivo::samples {
namespace avi {

inline std::string Chunk(const std::string& id, const std::string& body) {
    std::string chunk = id;
    PutU32LE(chunk, static_cast<std::uint32_t>(body.size()));
    chunk += body;
    if (body.size() % 2 != 0) {
        chunk += '\0';
    }
    return chunk;
}

inline std::string List(const std::string& type, const std::string& body) {
    return Chunk("LIST", type + body);
}

inline std::string FrameBits(const Picture& frame) {
    std::string bits;
    for (int y = frame.Height - 1; y >= 0; --y) {
        for (int x = 0; x < frame.Width; ++x) {
            const Rgb pixel = frame.At(x, y);
            bits += static_cast<char>(pixel.B);
            bits += static_cast<char>(pixel.G);
            bits += static_cast<char>(pixel.R);
        }
        bits.append((4 - frame.Width * 3 % 4) % 4, '\0');
    }
    return bits;
}

}  // namespace avi

// An AVI file of the frames (all of one size) shown framesPerSecond a second.
inline std::string EncodeAvi(const std::vector<Picture>& frames, int framesPerSecond) {
    using avi::Chunk;
    using avi::List;
    if (frames.empty()) {
        throw std::invalid_argument("a video needs at least one frame");
    }
    const std::uint32_t width = static_cast<std::uint32_t>(frames[0].Width);
    const std::uint32_t height = static_cast<std::uint32_t>(frames[0].Height);
    const std::uint32_t frameSize = static_cast<std::uint32_t>(avi::FrameBits(frames[0]).size());
    const std::uint32_t count = static_cast<std::uint32_t>(frames.size());

    std::string mainHeader;
    PutU32LE(mainHeader, 1000000u / static_cast<std::uint32_t>(framesPerSecond));
    PutU32LE(mainHeader, frameSize * static_cast<std::uint32_t>(framesPerSecond));
    PutU32LE(mainHeader, 0);     // padding granularity
    PutU32LE(mainHeader, 0x10);  // has an index
    PutU32LE(mainHeader, count);
    PutU32LE(mainHeader, 0);  // initial frames
    PutU32LE(mainHeader, 1);  // streams
    PutU32LE(mainHeader, frameSize);
    PutU32LE(mainHeader, width);
    PutU32LE(mainHeader, height);
    mainHeader.append(16, '\0');

    std::string streamHeader = "vidsDIB ";
    PutU32LE(streamHeader, 0);  // flags
    PutU32LE(streamHeader, 0);  // priority and language
    PutU32LE(streamHeader, 0);  // initial frames
    PutU32LE(streamHeader, 1);  // scale
    PutU32LE(streamHeader, static_cast<std::uint32_t>(framesPerSecond));
    PutU32LE(streamHeader, 0);  // start
    PutU32LE(streamHeader, count);
    PutU32LE(streamHeader, frameSize);
    PutU32LE(streamHeader, 0xFFFFFFFFu);  // default quality
    PutU32LE(streamHeader, 0);            // sample size: frames vary
    PutU16LE(streamHeader, 0);
    PutU16LE(streamHeader, 0);
    PutU16LE(streamHeader, static_cast<std::uint16_t>(width));
    PutU16LE(streamHeader, static_cast<std::uint16_t>(height));

    std::string bitmapInfo;
    PutU32LE(bitmapInfo, 40);
    PutU32LE(bitmapInfo, width);
    PutU32LE(bitmapInfo, height);  // positive: rows bottom-up
    PutU16LE(bitmapInfo, 1);       // planes
    PutU16LE(bitmapInfo, 24);      // bits a pixel
    PutU32LE(bitmapInfo, 0);       // not compressed
    PutU32LE(bitmapInfo, frameSize);
    bitmapInfo.append(16, '\0');  // resolution and palette counts

    std::string movie;
    std::string index;
    for (const Picture& frame : frames) {
        if (frame.Width != frames[0].Width || frame.Height != frames[0].Height) {
            throw std::invalid_argument("the frames of a video differ in size");
        }
        index += "00db";
        PutU32LE(index, 0x10);                                          // key frame
        PutU32LE(index, static_cast<std::uint32_t>(4 + movie.size()));  // from "movi" on
        PutU32LE(index, frameSize);
        movie += Chunk("00db", avi::FrameBits(frame));
    }
    const std::string headers =
        List("hdrl", Chunk("avih", mainHeader) +
                         List("strl", Chunk("strh", streamHeader) + Chunk("strf", bitmapInfo)));
    return Chunk("RIFF", "AVI " + headers + List("movi", movie) + Chunk("idx1", index));
}

}  // namespace arkivo::samples
