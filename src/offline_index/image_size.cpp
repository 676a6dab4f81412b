#include "offline_index/image_size.h"

#include "platform/byte_reader.h"
#include "platform/file_system.h"
#include "platform/rooted_files.h"
#include "platform/unique_fd.h"

namespace arkivo {
namespace {

// Every look at the file reads this many bytes: enough for a segment head and the
// frame size that follows a start-of-frame marker.
constexpr std::size_t ProbeSize = 11;

bool IsFrameMarker(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<ImageSize> GifSize(const ByteReader& head) {
    return ImageSize{*head.U16LE(6), *head.U16LE(8)};
}

bool IsJfif(const ByteReader& head) {
    return head.bytes().substr(0, 4) == "\xFF\xD8\xFF\xE0" &&
           head.bytes().substr(6, 5) == std::string_view("JFIF\0", 5);
}

std::optional<ImageSize> JpegSize(const ImageBytes& read, const ByteReader& head) {
    // The APP0 segment begins at offset 2; each segment is its marker (2 bytes)
    // followed by a length that counts itself but not the marker.
    std::uint64_t length = *head.U16BE(4);
    std::uint64_t next = 2 + 2 + length;
    while (length >= 2) {
        const std::string probe = read(next, ProbeSize);
        if (probe.size() < ProbeSize) {
            return std::nullopt;
        }
        const ByteReader segment(probe);
        if (*segment.U8(0) == 0xFF && IsFrameMarker(*segment.U8(1))) {
            return ImageSize{*segment.U16BE(7), *segment.U16BE(5)};
        }
        length = *segment.U16BE(2);
        next += 2 + length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<ImageSize> ImageSizeOf(const ImageBytes& read) {
    const std::string bytes = read(0, ProbeSize);
    if (bytes.size() < ProbeSize) {
        return std::nullopt;
    }
    const ByteReader head(bytes);
    if (head.bytes().substr(0, 3) == "GIF") {
        return GifSize(head);
    }
    if (IsJfif(head)) {
        return JpegSize(read, head);
    }
    return std::nullopt;
}

std::optional<ImageSize> ReadImageSize(const std::string& root, const std::string& path) {
    const UniqueFd file(OpenRegularFileBeneath(root, path));
    if (!file.Valid()) {
        return std::nullopt;
    }
    return ImageSizeOf([&file](std::uint64_t offset, std::size_t count) {
        std::string bytes;
        ReadAt(file.Get(), offset, count, bytes);  // what could be read is looked at
        return bytes;
    });
}

}  // namespace arkivo
