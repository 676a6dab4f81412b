#include "offline_index/thumbnails.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/mul_div.h"

namespace arkivo {
namespace {

constexpr std::int64_t ThumbnailArea = 5000;
constexpr std::int32_t ThumbnailSide = 150;

}  // namespace

ImageSize ScaleThumbnail(ImageSize full) {
    std::int32_t w = full.Width;
    std::int32_t h = full.Height;
    const std::int64_t area = static_cast<std::int64_t>(w) * h;
    if (area > ThumbnailArea) {
        // The factor is held in single precision, which settles the last pixel in
        // some cases (1000 x 10 becomes 707 x 7).
        const float factor = static_cast<float>(std::sqrt(static_cast<double>(area) * 0.0002));
        w = static_cast<std::int32_t>(w / static_cast<double>(factor));
        h = static_cast<std::int32_t>(h / static_cast<double>(factor));
    }
    const std::int32_t larger = std::max(w, h);
    if (larger > ThumbnailSide) {
        h = MulDiv(h, ThumbnailSide, larger);
        w = MulDiv(w, ThumbnailSide, larger);
    }
    return ImageSize{w, h};
}

std::optional<Thumbnail> ThumbnailSize(const std::string& root, const std::string& path) {
    const auto full = ReadImageSize(root, path);
    if (!full) {
        return std::nullopt;
    }
    return Thumbnail{ScaleThumbnail(*full), *full};
}

}  // namespace arkivo
