#pragma once
// "Record at a time" compression: every record of a .warc.gz is its own complete
// gzip member, so that an index can name the member's offset and length and a
// reader can start decompressing there. The compression is zlib's.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace arkivo {

// Takes compressed bytes; false when they could not be written (errno set).
using ByteSink = std::function<bool(std::string_view)>;

class GzipMembers {
  public:
    explicit GzipMembers(ByteSink sink, int level = 6);
    ~GzipMembers();
    GzipMembers(const GzipMembers&) = delete;
    GzipMembers& operator=(const GzipMembers&) = delete;

    // Starts a member; Add compresses bytes into it and End closes it. Each is false
    // once the sink has failed.
    bool Begin();
    bool Add(std::string_view bytes);
    bool End();

    // Compressed bytes given to the sink so far: a member's offset when read before
    // Begin, the offset after it when read after End.
    std::uint64_t Offset() const { return offset_; }

  private:
    bool Deflate(std::string_view bytes, int flush);

    struct Stream;
    std::unique_ptr<Stream> stream_;
    ByteSink sink_;
    std::uint64_t offset_ = 0;
    bool failed_ = false;
};

}  // namespace arkivo
