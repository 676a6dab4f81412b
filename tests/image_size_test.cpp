#include "offline_index/image_size.h"

#include <gtest/gtest.h>

#include "image_headers.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::BigEndian16;
using testing::GifPicture;
using testing::JfifApp0;
using testing::JfifPicture;
using testing::JpegFrame;
using testing::JpegSegment;
using testing::TempDir;
using testing::WriteFile;

std::optional<ImageSize> SizeOfBytes(const std::string& bytes) {
    return ImageSizeOf([&bytes](std::uint64_t offset, std::size_t count) {
        return offset >= bytes.size() ? std::string() : bytes.substr(offset, count);
    });
}

struct SizeCase {
    const char* name;
    std::string bytes;
    std::optional<ImageSize> expected;
};

TEST(ImageSize, ReadsGifAndJfifHeaders) {
    const std::string soi = "\xFF\xD8";
    const SizeCase cases[] = {
        {"gif 200x100", GifPicture(200, 100), ImageSize{200, 100}},
        {"gif 65535x1", GifPicture(65535, 1), ImageSize{65535, 1}},
        {"gif 0x0", GifPicture(0, 0), ImageSize{0, 0}},
        {"gif87a header only", std::string("GIF87a\x10\x01\x20\x02\x00", 11), ImageSize{272, 544}},
        {"jfif 640x480", JfifPicture(640, 480), ImageSize{640, 480}},
        {"jfif 65535x65535", JfifPicture(65535, 65535), ImageSize{65535, 65535}},
        {"jfif progressive frame",
         soi + JfifApp0() + JpegFrame(30, 20, 0xC2) + std::string(8, '\0'), ImageSize{30, 20}},
        {"jfif frame after several tables",
         soi + JfifApp0() + JpegSegment(0xDB, std::string(65, 'q')) +
             JpegSegment(0xC4, std::string(28, 'h')) + JpegSegment(0xFE, "comment") +
             JpegFrame(7, 9) + std::string(8, '\0'),
         ImageSize{7, 9}},
        // A restart interval segment is shorter than a frame header probe.
        {"jfif short segment before frame",
         soi + JfifApp0() + JpegSegment(0xDD, BigEndian16(4)) + JpegFrame(11, 12) +
             std::string(8, '\0'),
         ImageSize{11, 12}},
        {"jfif huffman table is no frame",
         soi + JfifApp0() + JpegSegment(0xC4, std::string(20, 'h')) + JpegFrame(5, 6) +
             std::string(8, '\0'),
         ImageSize{5, 6}},
        {"exif jpeg (APP1 first) is not read",
         soi + JpegSegment(0xE1, std::string("Exif\0\0", 6) + std::string(20, 'x')) +
             JpegFrame(5, 6),
         std::nullopt},
        {"jfif without frame", soi + JfifApp0() + JpegSegment(0xDB, std::string(65, 'q')),
         std::nullopt},
        {"jfif with zero-length segment",
         soi + JfifApp0() + std::string("\xFF\xDB\x00\x00", 4) + std::string(20, 'z'),
         std::nullopt},
        {"jfif with app0 length 0", soi + std::string("\xFF\xE0\x00\x00JFIF\0", 9) + "xxxxx",
         std::nullopt},
        {"jfif with huge segment length",
         soi + JfifApp0() + std::string("\xFF\xDB\xFF\xFF", 4) + std::string(20, 'z'),
         std::nullopt},
        {"png", std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16), std::nullopt},
        {"text", "<HTML><BODY>not a picture</BODY></HTML>", std::nullopt},
        {"ten bytes of gif", std::string("GIF89a\x01\x00\x01\x00", 10), std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SizeOfBytes(c.bytes), c.expected);
    }
}

// Every prefix of a valid file is either measured correctly or not measured, and
// never read out of bounds (the sanitizer build checks the latter).
TEST(ImageSize, TruncatedFilesAreNeverMisread) {
    for (const std::string& full : {GifPicture(320, 240), JfifPicture(320, 240)}) {
        for (std::size_t length = 0; length <= full.size(); ++length) {
            const auto size = SizeOfBytes(full.substr(0, length));
            if (size) {
                EXPECT_EQ(*size, (ImageSize{320, 240})) << "length " << length;
            }
        }
    }
}

// Damaged segment lengths in every position: the walk always ends.
TEST(ImageSize, DamagedJpegLengthsEnd) {
    const std::string full = JfifPicture(100, 50);
    for (std::size_t at = 4; at + 1 < full.size(); ++at) {
        for (const char* bytes : {"\x00\x00", "\x00\x01", "\xFF\xFF", "\x00\x09"}) {
            std::string damaged = full;
            damaged.replace(at, 2, bytes, 2);
            SizeOfBytes(damaged);
        }
    }
}

TEST(ImageSize, ReadsFiles) {
    TempDir dir;
    WriteFile(dir / "a.gif", GifPicture(200, 100));
    WriteFile(dir / "b.jpg", JfifPicture(1024, 768));
    WriteFile(dir / "c.bin", "GIF");
    EXPECT_EQ(ReadImageSize(dir.Path(), dir / "a.gif"), (ImageSize{200, 100}));
    EXPECT_EQ(ReadImageSize(dir.Path(), dir / "b.jpg"), (ImageSize{1024, 768}));
    EXPECT_EQ(ReadImageSize(dir.Path(), dir / "c.bin"), std::nullopt);
    EXPECT_EQ(ReadImageSize(dir.Path(), dir / "missing.gif"), std::nullopt);
    EXPECT_EQ(ReadImageSize(dir.Path(), dir.Path()), std::nullopt);
}

}  // namespace
}  // namespace arkivo
