#include "model/streams.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

std::string Numbered(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i * 7 + i / 256);
    }
    return bytes;
}

TEST(BufferedRead, RepositionsTheFileBeforeARefill) {
    TempDir dir;
    const std::string bytes = Numbered(70000);
    WriteFile(dir / "data", bytes);
    TSimpleBufferFileStream stream(dir / "data", FileMode::Read);

    // Read up to 10 bytes short of the buffer's end, then ask for 16: the 10 undelivered
    // bytes must come first, followed by the next ones from the file.
    std::string got(32758, '\0');
    ASSERT_EQ(BufferedRead(stream, got.data(), got.size()), got.size());
    char across[16];
    ASSERT_EQ(BufferedRead(stream, across, sizeof across), sizeof across);
    EXPECT_EQ(std::string(across, sizeof across), bytes.substr(32758, 16));

    std::string rest(40000, '\0');
    std::size_t total = 0;
    while (std::size_t n = BufferedRead(stream, rest.data() + total,
                                        std::min<std::size_t>(1000, rest.size() - total))) {
        total += n;
    }
    EXPECT_EQ(rest.substr(0, total), bytes.substr(32774));
}

TEST(BufferedRead, DeliversAtMostOneBufferAndZeroAtTheEnd) {
    TempDir dir;
    WriteFile(dir / "data", Numbered(40000));
    TSimpleBufferFileStream stream(dir / "data", FileMode::Read);
    std::string big(50000, '\0');
    EXPECT_EQ(BufferedRead(stream, big.data(), big.size()), 32768u);
    EXPECT_EQ(BufferedRead(stream, big.data(), 10000), 7232u);
    EXPECT_EQ(BufferedRead(stream, big.data(), 1), 0u);
}

TEST(CopyStream, CountZeroCopiesTheWholeSourceFromItsStart) {
    TMemoryStream source;
    const std::string bytes = Numbered(150000);
    source.Write(bytes.data(), bytes.size());
    TMemoryStream target;
    EXPECT_EQ(CopyStream(target, source, 0), bytes.size());
    EXPECT_EQ(target.Bytes(), bytes);
}

TEST(CopyStream, CountIsCutToWhatTheSourceHolds) {
    TMemoryStream source;
    source.Write("abcdef", 6);
    source.SetPosition(4);
    TMemoryStream target;
    EXPECT_EQ(CopyStream(target, source, 100), 2u);
    EXPECT_EQ(target.Bytes(), "ef");
    EXPECT_EQ(CopyStream(target, source, 100), 0u);
}

TEST(FileStream, MissingFileThrows) {
    TempDir dir;
    EXPECT_THROW(TFileStream(dir / "missing", FileMode::Read), StreamError);
}

}  // namespace
}  // namespace arkivo
