#include "webarchive/gzip_members.h"

#include <zlib.h>

#include <algorithm>
#include <new>
#include <string>

namespace arkivo {
namespace {
constexpr std::size_t OutputBlock = 64 * 1024;
constexpr int GzipWindowBits = 15 + 16;  // the largest window, with a gzip wrapper
constexpr int MemoryLevel = 8;
}  // namespace

struct GzipMembers::Stream {
    z_stream Z{};
    std::string Output = std::string(OutputBlock, '\0');
};

GzipMembers::GzipMembers(ByteSink sink, int level)
    : stream_(std::make_unique<Stream>()), sink_(std::move(sink)) {
    if (deflateInit2(&stream_->Z, level, Z_DEFLATED, GzipWindowBits, MemoryLevel,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::bad_alloc();
    }
}

GzipMembers::~GzipMembers() {
    deflateEnd(&stream_->Z);
}

bool GzipMembers::Begin() {
    return !failed_ && deflateReset(&stream_->Z) == Z_OK;
}

bool GzipMembers::Add(std::string_view bytes) {
    return Deflate(bytes, Z_NO_FLUSH);
}

bool GzipMembers::End() {
    return Deflate({}, Z_FINISH);
}

bool GzipMembers::Deflate(std::string_view bytes, int flush) {
    if (failed_) {
        return false;
    }
    z_stream& z = stream_->Z;
    // zlib's input size is 32 bits wide: larger pieces go in slices.
    constexpr std::size_t Slice = 1u << 30;
    do {
        const std::size_t take = std::min(bytes.size(), Slice);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        z.avail_in = static_cast<uInt>(take);
        bytes.remove_prefix(take);
        const int sliceFlush = bytes.empty() ? flush : Z_NO_FLUSH;
        int result = Z_OK;
        do {
            z.next_out = reinterpret_cast<Bytef*>(stream_->Output.data());
            z.avail_out = static_cast<uInt>(stream_->Output.size());
            result = deflate(&z, sliceFlush);
            const std::size_t produced = stream_->Output.size() - z.avail_out;
            if (produced > 0) {
                if (!sink_(std::string_view(stream_->Output.data(), produced))) {
                    failed_ = true;
                    return false;
                }
                offset_ += produced;
            }
        } while (z.avail_out == 0 || (sliceFlush == Z_FINISH && result != Z_STREAM_END));
    } while (!bytes.empty());
    return true;
}

}  // namespace arkivo
