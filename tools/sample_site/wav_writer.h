#pragma once
// Writes RIFF WAVE sound files: one channel of 8-bit unsigned PCM.

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/byte_reader.h"

namespace arkivo::samples {

// A WAVE file of seconds of sound at rate samples a second; wave gives the level
// (-1 to 1) at a time in seconds.
inline std::string EncodeWav(int rate, double seconds, const std::function<double(double)>& wave) {
    std::string samples;
    const int count = static_cast<int>(std::lround(rate * seconds));
    for (int i = 0; i < count; ++i) {
        const double level = std::clamp(wave(static_cast<double>(i) / rate), -1.0, 1.0);
        samples += static_cast<char>(std::lround(128 + 127 * level));
    }
    if (samples.size() % 2 != 0) {
        samples += '\x80';  // chunks have even sizes
    }
    std::string format;
    PutU16LE(format, 1);  // PCM
    PutU16LE(format, 1);  // one channel
    PutU32LE(format, static_cast<std::uint32_t>(rate));
    PutU32LE(format, static_cast<std::uint32_t>(rate));  // bytes a second
    PutU16LE(format, 1);                                 // bytes a sample frame
    PutU16LE(format, 8);                                 // bits a sample
    std::string wav = "RIFF";
    PutU32LE(wav, static_cast<std::uint32_t>(4 + 8 + format.size() + 8 + samples.size()));
    wav += "WAVEfmt ";
    PutU32LE(wav, static_cast<std::uint32_t>(format.size()));
    wav += format;
    wav += "data";
    PutU32LE(wav, static_cast<std::uint32_t>(samples.size()));
    return wav + samples;
}

}  // namespace arkivo::samples
