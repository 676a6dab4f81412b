#include "model/cache_item.h"

#include <algorithm>
#include <cstring>

#include "platform/byte_reader.h"
#include "platform/path.h"
#include "platform/rooted_files.h"

namespace arkivo {
namespace {

void PutString(std::string& record, const std::string& text) {
    record.append(text.data(), text.size());
    record += '\0';
}

// Reads a stored string of the given length (NUL included) chunk by chunk, so that
// a length larger than the data left costs only what is really there, and keeps the
// bytes up to the first NUL.
std::string ReadStoredString(TSimpleBufferFileStream& stream, std::uint32_t length) {
    std::string bytes;
    char chunk[TSimpleBufferFileStream::ReadAheadSize];
    for (std::uint32_t left = length; left > 0;) {
        const std::size_t want = std::min<std::size_t>(left, sizeof chunk);
        const std::size_t got = BufferedRead(stream, chunk, want);
        if (got == 0) {
            break;
        }
        bytes.append(chunk, got);
        left -= static_cast<std::uint32_t>(got);
    }
    const auto end = bytes.find('\0');
    if (end != std::string::npos) {
        bytes.resize(end);
    }
    return bytes;
}

}  // namespace

void TCacheItem::SaveToStream(TStream& stream) const {
    std::string record;
    record.reserve(28 + Url.size() + Title.size() + ArchiveName.size() + 3);
    PutU32LE(record, static_cast<std::uint32_t>(Kind));
    PutU32LE(record, static_cast<std::uint32_t>(Group));
    PutF64LE(record, Date);
    PutU32LE(record, static_cast<std::uint32_t>(Url.size() + 1));
    PutU32LE(record, static_cast<std::uint32_t>(Title.size() + 1));
    PutU32LE(record, static_cast<std::uint32_t>(ArchiveName.size() + 1));
    PutString(record, Url);
    PutString(record, Title);
    PutString(record, ArchiveName);
    stream.Write(record.data(), record.size());
}

bool TCacheItem::LoadFromStream(TSimpleBufferFileStream& stream) {
    char head[16];
    if (BufferedRead(stream, head, sizeof head) < sizeof head) {
        return true;
    }
    char lengths[12] = {};
    BufferedRead(stream, lengths, sizeof lengths);
    const ByteReader headReader(std::string_view(head, sizeof head));
    const ByteReader lengthReader(std::string_view(lengths, sizeof lengths));
    Kind = *headReader.I32LE(0);
    Group = *headReader.I32LE(4);
    Date = *headReader.F64LE(8);
    Url = ReadStoredString(stream, *lengthReader.U32LE(0));
    Title = ReadStoredString(stream, *lengthReader.U32LE(4));
    ArchiveName = ReadStoredString(stream, *lengthReader.U32LE(8));
    return false;
}

void TCacheItem::AssignFrom(const TCacheItem& other) {
    Kind = other.Kind;
    Date = other.Date;
    Group = other.Group;
    Domain = other.Domain;
    CacheFile = other.CacheFile;
    CacheDirLength = other.CacheDirLength;
    Origin = other.Origin;
    Url = other.Url;
    Title = other.Title;
    ArchiveName = other.ArchiveName;
}

std::string CacheDirOf(const TCacheItem& item) {
    return item.CacheDirLength > 0 && item.CacheDirLength <= item.CacheFile.size()
               ? item.CacheFile.substr(0, item.CacheDirLength)
               : DirectoryPart(item.CacheFile);
}

int OpenCachedFile(const TCacheItem& item) {
    return OpenRegularFileBeneath(CacheDirOf(item), item.CacheFile);
}

}  // namespace arkivo
