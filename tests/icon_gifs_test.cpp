// The icons shipped in resources/images and the GIF writer that draws them.

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "../tools/icons/gif_writer.h"
#include "archive/archive_icons.h"
#include "gif_decoder.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using icons::EncodeGif;
using icons::Rgb;
using testing::DecodeGif;
using testing::ReadFile;

std::vector<Rgb> Greys(std::size_t count) {
    std::vector<Rgb> palette;
    for (std::size_t i = 0; i < count; ++i) {
        const auto level = static_cast<std::uint8_t>(i * 255 / std::max<std::size_t>(1, count - 1));
        palette.push_back({level, level, level});
    }
    return palette;
}

struct RoundTripCase {
    const char* name;
    int width, height;
    std::size_t colours;
    std::vector<std::uint8_t> indices;
};

std::vector<std::uint8_t> Noise(std::size_t count, std::size_t colours, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> indices(count);
    for (auto& index : indices) {
        index = static_cast<std::uint8_t>(random() % colours);
    }
    return indices;
}

// Pictures the encoder must get through unchanged: tiny ones, long runs that grow
// the codes to 12 bits, and noise that fills the code table many times over.
TEST(GifWriter, RoundTrips) {
    std::vector<RoundTripCase> cases = {
        {"one pixel", 1, 1, 2, {1}},
        {"two colours", 4, 2, 2, {0, 1, 1, 0, 1, 0, 0, 1}},
        {"one long run", 300, 200, 2, std::vector<std::uint8_t>(60000, 1)},
        {"noise in 4 colours", 256, 256, 4, Noise(65536, 4, 1)},
        {"noise in 256 colours", 300, 300, 256, Noise(90000, 256, 2)},
        {"noise in 16 colours", 97, 89, 16, Noise(97 * 89, 16, 3)},
    };
    for (const RoundTripCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto decoded = DecodeGif(EncodeGif(c.width, c.height, Greys(c.colours), c.indices));
        ASSERT_EQ(decoded.Error, "");
        EXPECT_EQ(decoded.Width, c.width);
        EXPECT_EQ(decoded.Height, c.height);
        EXPECT_GE(decoded.PaletteSize, c.colours);
        EXPECT_TRUE(decoded.Indices == c.indices);
    }
}

TEST(GifWriter, RefusesMismatchedPictures) {
    EXPECT_THROW(EncodeGif(2, 2, Greys(2), {0, 1, 0}), std::invalid_argument);
    EXPECT_THROW(EncodeGif(1, 1, {}, {0}), std::invalid_argument);
    EXPECT_THROW(EncodeGif(1, 1, Greys(257), {0}), std::invalid_argument);
}

std::pair<int, int> ExpectedSize(std::string_view word) {
    if (word == "arkivo") {
        return {250, 75};
    }
    if (word == "quenlogo") {
        return {197, 74};
    }
    if (word == "folder" || word == "lfolder" || word == "ftext" || word == "ltext") {
        return {38, 18};
    }
    if (word == "ofolder") {
        return {22, 18};
    }
    if (word == "notfound") {
        return {24, 24};
    }
    // Kind buttons: "u", "d" or "g" before a kind's word.
    for (std::string_view kind : {"audio", "text", "video", "other", "image"}) {
        if (word.size() == kind.size() + 1 && word.substr(1) == kind) {
            return {28, 24};
        }
    }
    return {20, 18};
}

// Every icon the archive copies is shipped, is a whole GIF of the size the pages
// show it at, and is a picture rather than a blank.
TEST(ShippedIcons, AreCompletePicturesOfTheirSize) {
    const std::string dir = testing::TestDataDir() + "/../../resources/images/";
    for (std::string_view word : IconWords) {
        SCOPED_TRACE(std::string(word));
        const auto decoded = DecodeGif(ReadFile(dir + std::string(word) + ".gif"));
        ASSERT_EQ(decoded.Error, "");
        const auto [width, height] = ExpectedSize(word);
        EXPECT_EQ(decoded.Width, width);
        EXPECT_EQ(decoded.Height, height);
        EXPECT_EQ(decoded.Indices.size(), static_cast<std::size_t>(width * height));
        EXPECT_GE(std::set<std::uint8_t>(decoded.Indices.begin(), decoded.Indices.end()).size(),
                  3u);
    }
}

}  // namespace
}  // namespace arkivo
