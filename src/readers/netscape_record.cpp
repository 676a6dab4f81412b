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
// to a NUL. Empty when the bytes do not all lie inside the key or record (a cut
// string could name another file).
std::string WholeStringAt(const ByteReader& reader, std::uint64_t offset, std::uint32_t length) {
    if (length < 2 || !reader.Contains(offset, length - 1)) {
        return {};
    }
    return reader.CString(offset, length - 1);
}

// As WholeStringAt, and empty when length reaches limit.
std::string StringAt(const ByteReader& reader, std::uint64_t offset, std::uint32_t length,
                     std::uint32_t limit) {
    return length < limit ? WholeStringAt(reader, offset, length) : std::string();
}

// The signed time at offset; unset when it is 0 or not there.
std::optional<std::int64_t> TimeUnlessZero(const ByteReader& record, std::uint64_t offset) {
    const std::int32_t seconds = record.I32LE(offset).value_or(0);
    return seconds != 0 ? std::optional<std::int64_t>(seconds) : std::nullopt;
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
    entry.Origin = std::make_shared<CacheOrigin>();
    CacheOrigin& origin = *entry.Origin;
    origin.Format = CacheFormat::NavigatorDatabase;

    // The item keeps the URL as the low 16 bits of its length give it; the origin
    // takes the whole length.
    const ByteReader keyReader(key);
    const std::uint32_t urlLength = LengthAt(keyReader, 4);
    const std::uint32_t wholeUrlLength = keyReader.U32LE(4).value_or(0);
    origin.Url = WholeStringAt(keyReader, 8, wholeUrlLength);
    if (urlLength == wholeUrlLength) {
        entry.Url = urlLength < UrlLengthLimit ? CutTo(origin.Url, MaxUrlBytes) : std::string();
    } else {
        entry.Url = CutTo(StringAt(keyReader, 8, urlLength, UrlLengthLimit), MaxUrlBytes);
    }

    const ByteReader record(data);
    entry.Time = record.I32LE(12).value_or(0);
    origin.FormatVersion = record.U32LE(4);
    origin.LastModified = TimeUnlessZero(record, 8);
    origin.LastAccess = record.I32LE(12);
    origin.Expires = TimeUnlessZero(record, 16);
    origin.StoredLength = record.U32LE(20);

    const std::uint32_t nameLength = LengthAt(record, 29);
    origin.StoredFileName = StringAt(record, 33, nameLength, FileNameLengthLimit);
    entry.FileName = LowerCase(origin.StoredFileName);

    const std::uint64_t postHeadersAt = PostHeadersAt(record, nameLength);
    const std::uint64_t typeAt = postHeadersAt + 4 + LengthAt(record, postHeadersAt);
    origin.ContentType =
        StringAt(record, typeAt + 4, LengthAt(record, typeAt), ContentTypeLengthLimit);
    entry.ContentType = LowerCase(CutTo(origin.ContentType, MaxContentTypeBytes));
    // The encoding and the charset follow the type, each found as the type is; a
    // length that fails its checks leaves nothing after it to trust.
    std::uint64_t stringAt = typeAt;
    for (std::string* text : {&origin.ContentEncoding, &origin.Charset}) {
        const std::uint32_t before = LengthAt(record, stringAt);
        if (before >= ContentTypeLengthLimit || !record.Contains(stringAt + 4, before)) {
            break;
        }
        stringAt += 4 + before;
        *text = StringAt(record, stringAt + 4, LengthAt(record, stringAt), ContentTypeLengthLimit);
    }
    return entry;
}

}  // namespace arkivo
