#include "readers/netscape_record.h"

#include <array>

#include "model/url.h"
#include "platform/byte_reader.h"

namespace arkivo {
namespace {

constexpr std::array<std::string_view, 3> BookkeepingKeys = {
    "INT_DiskCacheSize", "INT_DiskCacheNumber", "INT_ExternalCacheNameString"};

constexpr std::uint32_t UrlLengthLimit = 512;
constexpr std::uint32_t FileNameLengthLimit = 50;
constexpr std::uint32_t ContentTypeLengthLimit = 100;
constexpr std::size_t MaxUrlBytes = 255;
constexpr std::size_t MaxContentTypeBytes = 50;
constexpr std::uint32_t RecordVersionWithSecurityStrings = 3;

// The low 16 bits of the 32-bit length at offset; 0 when it is not there.
std::uint32_t LengthAt(const ByteReader& reader, std::uint64_t offset) {
    return reader.U16LE(offset).value_or(0);
}

// The string of a length field that counts its NUL: length - 1 bytes at offset, up
// to a NUL. Empty when length reaches limit or the bytes do not all lie inside the
// key or record (a cut string could name another file).
std::string StringAt(const ByteReader& reader, std::uint64_t offset, std::uint32_t length,
                     std::uint32_t limit) {
    if (length < 2 || length >= limit || !reader.Contains(offset, length - 1)) {
        return {};
    }
    return reader.CString(offset, length - 1);
}

}  // namespace

std::optional<NetscapeEntry> ParseCacheEntry(std::string_view key, std::string_view data) {
    for (const std::string_view name : BookkeepingKeys) {
        if (key == name) {
            return std::nullopt;
        }
    }
    NetscapeEntry entry;
    const ByteReader keyReader(key);
    entry.Url = CutTo(StringAt(keyReader, 8, LengthAt(keyReader, 4), UrlLengthLimit), MaxUrlBytes);

    const ByteReader record(data);
    entry.Time = record.I32LE(12).value_or(0);
    const std::uint32_t nameLength = LengthAt(record, 29);
    entry.FileName = LowerCase(StringAt(record, 33, nameLength, FileNameLengthLimit));

    // Version 3 records keep two security strings (key cipher, certificate) ahead
    // of the POST headers; they are empty unless the page came over SSL.
    std::uint64_t postHeadersAt = 62 + std::uint64_t{nameLength};
    if (record.U32LE(4).value_or(0) == RecordVersionWithSecurityStrings) {
        const std::uint64_t cipherAt = 50 + std::uint64_t{nameLength};
        const std::uint64_t certificateAt = cipherAt + 4 + LengthAt(record, cipherAt);
        // The certificate string, then the 4-byte request method.
        postHeadersAt = certificateAt + 4 + LengthAt(record, certificateAt) + 4;
    }
    const std::uint64_t typeAt = postHeadersAt + 4 + LengthAt(record, postHeadersAt);
    entry.ContentType = LowerCase(
        CutTo(StringAt(record, typeAt + 4, LengthAt(record, typeAt), ContentTypeLengthLimit),
              MaxContentTypeBytes));
    return entry;
}

}  // namespace arkivo
