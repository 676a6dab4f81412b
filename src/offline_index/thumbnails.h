#pragma once
// Thumbnail sizes for the thumbnail page: a picture is shrunk to about 5000 pixels
// of area, keeping its proportions, and then so that neither side exceeds 150.

#include <optional>
#include <string>

#include "offline_index/image_size.h"

namespace arkivo {

struct Thumbnail {
    ImageSize Shown;  // the size the page draws it at
    ImageSize Full;   // the picture's own size
    bool operator==(const Thumbnail&) const = default;
};

// The thumbnail size of a picture of the given size. Above 5000 pixels both sides
// are divided by the single-precision square root of area / 5000, dropping the
// fraction; then, when the larger side is above 150, both are scaled to make it
// 150, rounding halves away from zero.
ImageSize ScaleThumbnail(ImageSize full);

// The thumbnail of the GIF or JFIF JPEG file at path beneath root; std::nullopt when
// its size cannot be read.
std::optional<Thumbnail> ThumbnailSize(const std::string& root, const std::string& path);

}  // namespace arkivo
