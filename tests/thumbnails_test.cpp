#include "offline_index/thumbnails.h"

#include <gtest/gtest.h>

#include "image_headers.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::GifPicture;
using testing::JfifPicture;
using testing::TempDir;
using testing::WriteFile;

struct ScaleCase {
    ImageSize full;
    ImageSize shown;
};

TEST(Thumbnails, ScalesToAreaThenSide) {
    const ScaleCase cases[] = {
        {{200, 100}, {100, 50}},     // area 20000: factor 2
        {{60, 40}, {60, 40}},        // area 2400: kept
        {{100, 50}, {100, 50}},      // area exactly 5000: kept
        {{1000, 10}, {150, 1}},      // 707 x 7 by area, then 150 x 1.485 rounds to 1
        {{10, 1000}, {1, 150}},      // the same on its side
        {{151, 1}, {150, 1}},        // only the side rule
        {{300, 3}, {150, 2}},        // 1.5 rounds away from zero
        {{640, 480}, {81, 61}},      // f = 7.8384: 81.65 x 61.24
        {{0, 0}, {0, 0}},            // nothing to scale
        {{0, 60000}, {0, 150}},      // no area, only the side rule
        {{65535, 65535}, {70, 70}},  // the largest GIF or JPEG: no overflow
        {{65535, 1}, {150, 0}},      // the area rule leaves 0 on the short side
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.full.Width) + "x" + std::to_string(c.full.Height));
        EXPECT_EQ(ScaleThumbnail(c.full), c.shown);
    }
}

TEST(Thumbnails, ReadsPictureFiles) {
    TempDir dir;
    WriteFile(dir / "wide.gif", GifPicture(200, 100));
    WriteFile(dir / "photo.jpg", JfifPicture(1000, 10));
    WriteFile(dir / "small.gif", GifPicture(60, 40));
    WriteFile(dir / "broken.jpg", "\xFF\xD8\xFF\xE0");
    EXPECT_EQ(ThumbnailSize(dir.Path(), dir / "wide.gif"), (Thumbnail{{100, 50}, {200, 100}}));
    EXPECT_EQ(ThumbnailSize(dir.Path(), dir / "photo.jpg"), (Thumbnail{{150, 1}, {1000, 10}}));
    EXPECT_EQ(ThumbnailSize(dir.Path(), dir / "small.gif"), (Thumbnail{{60, 40}, {60, 40}}));
    EXPECT_EQ(ThumbnailSize(dir.Path(), dir / "broken.jpg"), std::nullopt);
    EXPECT_EQ(ThumbnailSize(dir.Path(), dir / "missing.gif"), std::nullopt);
}

}  // namespace
}  // namespace arkivo
