#pragma once
// The pixel size of an archived picture, for the thumbnail page. Two formats are
// read, from their headers alone:
//
//   GIF   "GIF" at offset 0; the logical screen width and height as little-endian
//         16-bit numbers at offsets 6 and 8.
//   JPEG  JFIF files only: FF D8 FF E0 at offset 0, "JFIF" and a NUL at offsets 6
//         to 10. From the APP0 segment on, segments are walked by their big-endian
//         16-bit lengths (which count the length field itself) until a start-of-frame
//         marker (C0-C3, C5-C7, C9-CB, CD-CF); its height and width are big-endian
//         16-bit numbers 5 and 7 bytes after the marker.
//
// Headers are untrusted: every read is bounds-checked, the walk always moves
// forward and stops at the end of the file, and any file that does not fit these
// rules is simply not measured. A file shorter than 11 bytes is never measured.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace arkivo {

struct ImageSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const ImageSize&) const = default;
};

// Gives up to count bytes of the image from offset on (fewer at the end).
using ImageBytes = std::function<std::string(std::uint64_t offset, std::size_t count)>;

// The size of the image whose bytes read gives; std::nullopt for anything else.
std::optional<ImageSize> ImageSizeOf(const ImageBytes& read);

// The size of the GIF or JFIF JPEG file at path beneath root (platform/rooted_files.h);
// std::nullopt when the file is missing, no regular file, unreadable or of another kind.
std::optional<ImageSize> ReadImageSize(const std::string& root, const std::string& path);

}  // namespace arkivo
