#pragma once
// Writes ZIP archives whose members are stored (not compressed), each with its
// CRC-32, its DOS date and time, a local header and a central directory entry.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/byte_reader.h"
#include "platform/clock.h"

namespace arkivo::samples {

struct ZipMember {
    std::string Name;
    std::string Content;
};

// The CRC-32 of ZIP (reflected polynomial 0xEDB88320).
inline std::uint32_t Crc32(const std::string& bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

// A ZIP archive of the members, each dated date.
inline std::string EncodeZip(const std::vector<ZipMember>& members, const DateParts& date) {
    const std::uint16_t dosTime =
        static_cast<std::uint16_t>(date.Hour << 11 | date.Minute << 5 | date.Second / 2);
    const std::uint16_t dosDate =
        static_cast<std::uint16_t>((date.Year - 1980) << 9 | date.Month << 5 | date.Day);
    std::string archive;
    std::string directory;
    for (const ZipMember& member : members) {
        const std::uint32_t crc = Crc32(member.Content);
        const std::uint32_t size = static_cast<std::uint32_t>(member.Content.size());
        // The fields a local header and a central directory entry share.
        std::string common;
        PutU16LE(common, 10);  // version needed: 1.0, stored
        PutU16LE(common, 0);   // flags
        PutU16LE(common, 0);   // stored
        PutU16LE(common, dosTime);
        PutU16LE(common, dosDate);
        PutU32LE(common, crc);
        PutU32LE(common, size);  // compressed
        PutU32LE(common, size);
        PutU16LE(common, static_cast<std::uint16_t>(member.Name.size()));
        PutU16LE(common, 0);  // extra field

        const std::uint32_t localOffset = static_cast<std::uint32_t>(archive.size());
        archive += "PK\x03\x04" + common + member.Name + member.Content;

        directory += "PK\x01\x02";
        PutU16LE(directory, 10);  // made by: MS-DOS, version 1.0
        directory += common;
        PutU16LE(directory, 0);  // comment
        PutU16LE(directory, 0);  // disk
        PutU16LE(directory, 1);  // text
        PutU32LE(directory, 0);  // external attributes
        PutU32LE(directory, localOffset);
        directory += member.Name;
    }
    const std::uint32_t directoryOffset = static_cast<std::uint32_t>(archive.size());
    archive += directory;
    archive += "PK\x05\x06";
    PutU16LE(archive, 0);  // this disk
    PutU16LE(archive, 0);  // the directory's disk
    PutU16LE(archive, static_cast<std::uint16_t>(members.size()));
    PutU16LE(archive, static_cast<std::uint16_t>(members.size()));
    PutU32LE(archive, static_cast<std::uint32_t>(directory.size()));
    PutU32LE(archive, directoryOffset);
    PutU16LE(archive, 0);  // comment
    return archive;
}

}  // namespace arkivo::samples
