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
constexpr std::uint32_t RecordVersionWithSecurityBlock = 5;
// Where the POST headers start in a record whose security part takes 16 bytes, as
// it does in version 3 without SSL and in version 5 with a 12-byte block.
constexpr std::uint64_t FixedPostHeadersAt = 62;

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

// Whether the POST headers and the content type at postHeadersAt pass their
// length checks and lie inside the record.
bool StringsFitAt(const ByteReader& record, std::uint64_t postHeadersAt) {
    const std::uint32_t headers = LengthAt(record, postHeadersAt);
    const std::uint64_t typeAt = postHeadersAt + 4 + headers;
    const std::uint32_t type = LengthAt(record, typeAt);
    return record.Contains(postHeadersAt, 4) && record.Contains(postHeadersAt + 4, headers) &&
           record.Contains(typeAt, 4) && type < ContentTypeLengthLimit &&
           record.Contains(typeAt + 4, type);
}

// Where the POST headers start, after the security part of the record's version.
std::uint64_t PostHeadersAt(const ByteReader& record, std::uint32_t nameLength) {
    const std::uint64_t fixedAt = FixedPostHeadersAt + nameLength;
    switch (record.U32LE(4).value_or(0)) {
        case RecordVersionWithSecurityStrings: {
            // Two strings (key cipher, certificate), empty unless the page came
            // over SSL, then the 4-byte request method.
            const std::uint64_t cipherAt = 50 + std::uint64_t{nameLength};
            const std::uint64_t certificateAt = cipherAt + 4 + LengthAt(record, cipherAt);
            return certificateAt + 4 + LengthAt(record, certificateAt) + 4;
        }
        case RecordVersionWithSecurityBlock: {
            // Navigator 4.5 and later: one block of L bytes after its 4-byte length,
            // then the method. The layout is known from source, not from files the
            // browser wrote, so an L that leads nowhere sensible falls back to the
            // place a 12-byte block gives.
            const std::uint64_t blockAt = 42 + std::uint64_t{nameLength};
            const auto blockLength = record.U32LE(blockAt);
            if (!blockLength || !record.Contains(blockAt + 4, *blockLength)) {
                return fixedAt;
            }
            const std::uint64_t at = blockAt + 4 + *blockLength + 4;
            return StringsFitAt(record, at) ? at : fixedAt;
        }
        default:
            return fixedAt;
    }
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

    const std::uint64_t postHeadersAt = PostHeadersAt(record, nameLength);
    const std::uint64_t typeAt = postHeadersAt + 4 + LengthAt(record, postHeadersAt);
    entry.ContentType = LowerCase(
        CutTo(StringAt(record, typeAt + 4, LengthAt(record, typeAt), ContentTypeLengthLimit),
              MaxContentTypeBytes));
    return entry;
}

}  // namespace arkivo
