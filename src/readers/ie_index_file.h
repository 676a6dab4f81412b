#pragma once
// Internet Explorer's cache index, index.dat ("Client UrlCache MMF Ver 5.2", as
// written by IE 5 to 9; Wine's own WinINet writes the same layout under the
// signature "WINE URLCache Ver ..."). All integers are little-endian.
//
//   0x0000  header: signature (28 bytes, NUL-terminated), file size (28), file
//           offset of the first hash table (32), total blocks (36), allocated
//           blocks (40), cache usage (56, 8 bytes), exempt usage (64, 8 bytes),
//           number of cache directories (72), then per directory 12 bytes at
//           76 + 12*i: the number of files in it and its 8-character name
//   0x0224  file offset of the first LEAK record (0 = none)
//   0x0250  allocation bitmap, one bit per block, least significant bit first
//   0x4000  128-byte blocks; block i starts at 0x4000 + 128*i; the file is
//           exactly 0x4000 + 128*total blocks long
//
// Every allocated run of blocks is one record that starts with a 4-byte
// signature and its length in blocks: "HASH", "URL ", "REDR", "LEAK", or
// 0xDEADBEEF for untyped data. Freed blocks are not wiped.
//
// A HASH record (32 blocks) holds the offset of the next HASH record (8), its
// sequence number in the chain (12) and 448 slots of 8 bytes from offset 16:
// key and record offset. Key 3 is a free slot, key 1 a deleted one (its offset is
// stale and never followed); any other key is live: its low 6 bits are flags
// (0 URL, 2 URL in use, 5 REDR, 8 URL in a group) and its upper 26 bits those of
// UrlCacheHash(location), whose low 6 bits choose the bucket: slots 7*bucket to
// 7*bucket+6 of any table in the chain.
//
// A URL record: last-modified FILETIME (8, from the server), last access FILETIME
// (16), expiry DOS date/time (24), last sync DOS date/time (80), hit count (84),
// cached file size (32), group entry offset (40), offsets inside the record of the
// location (52), the file name (60) and the response header text (68, size at
// 72), the cache directory index (56; 0xFE = the cache directory itself), entry
// flags (64; 0x4 = sticky, counted in the exempt usage). DOS date/times hold the
// date in the low word and are UTC; 0 means unset. Strings are NUL-terminated and
// lie inside the record. A group entry (32
// bytes: id, flags, type, disk usage at 16, quota) lies in a group data block, an
// allocated run of untyped data (signature 0xDEADBEEF) after its signature and
// length; header offset 0x1E0 names the first. A LEAK record is
// an entry to be deleted whose file is still to be removed: not in the hash tables,
// chained through its offset 44 from header offset 0x224. It keeps the URL record's
// size (32), directory index (56) and file name offset (60); its other fields are
// the old URL record's or 0xDEADBEEF filler.
//
// Reading never trusts the file: every field is bounds-checked, a record that
// fails its checks is left out and every inconsistency is noted as damage.
// Changing the file is only allowed when no damage was found. A URL record whose
// group entry offset points anywhere but at a group entry (into the header, a hash
// table, another record, free blocks) is still listed, but carries damage of its
// own and is never changed: deleting it would write through that offset. A LEAK
// record's group offset that points at no group entry reads as none (the field
// may hold filler).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace arkivo {

namespace ie_index {
inline constexpr std::string_view Signature = "Client UrlCache MMF Ver 5.2";
inline constexpr std::string_view WineSignaturePrefix = "WINE URLCache Ver ";

inline constexpr std::uint32_t FileSizeOffset = 28;
inline constexpr std::uint32_t FirstHashOffset = 32;
inline constexpr std::uint32_t TotalBlocksOffset = 36;
inline constexpr std::uint32_t AllocatedBlocksOffset = 40;
inline constexpr std::uint32_t CacheUsageOffset = 56;
inline constexpr std::uint32_t ExemptUsageOffset = 64;
inline constexpr std::uint32_t DirectoryCountOffset = 72;
inline constexpr std::uint32_t DirectoryTableOffset = 76;
inline constexpr std::uint32_t DirectoryEntrySize = 12;
inline constexpr std::uint32_t DirectoryNameSize = 8;
inline constexpr std::uint32_t MaxDirectories = 32;
inline constexpr std::uint32_t FirstLeakOffset = 0x224;
inline constexpr std::uint32_t BitmapOffset = 0x250;
inline constexpr std::uint32_t BlocksOffset = 0x4000;
inline constexpr std::uint32_t BlockSize = 128;
inline constexpr std::uint32_t MaxBlocks = (BlocksOffset - BitmapOffset) * 8;

inline constexpr std::uint32_t HashBlocks = 32;
inline constexpr std::uint32_t HashNextOffset = 8;
inline constexpr std::uint32_t HashSequenceOffset = 12;
inline constexpr std::uint32_t HashSlotsOffset = 16;
inline constexpr std::uint32_t HashSlotCount = 448;
inline constexpr std::uint32_t HashBucketSize = 7;
inline constexpr std::uint32_t HashSlotSize = 8;

inline constexpr std::uint32_t SlotFree = 3;
inline constexpr std::uint32_t SlotDeleted = 1;
inline constexpr std::uint32_t SlotFlagMask = 0x3F;
inline constexpr std::uint32_t SlotUrl = 0;
inline constexpr std::uint32_t SlotUrlLocked = 2;
inline constexpr std::uint32_t SlotRedirect = 5;
inline constexpr std::uint32_t SlotUrlInGroup = 8;

inline constexpr std::uint32_t UrlLastModifiedTime = 8;
inline constexpr std::uint32_t UrlLastAccessTime = 16;
inline constexpr std::uint32_t UrlExpireTime = 24;
inline constexpr std::uint32_t UrlFileSize = 32;
inline constexpr std::uint32_t UrlGroupOffset = 40;
inline constexpr std::uint32_t UrlNextLeak = 44;
inline constexpr std::uint32_t UrlLocationOffset = 52;
inline constexpr std::uint32_t UrlDirectoryIndex = 56;
inline constexpr std::uint32_t UrlFileNameOffset = 60;
inline constexpr std::uint32_t UrlEntryFlags = 64;
inline constexpr std::uint32_t UrlHeaderOffset = 68;
inline constexpr std::uint32_t UrlHeaderSize = 72;
inline constexpr std::uint32_t UrlLastSyncTime = 80;
inline constexpr std::uint32_t UrlHitCount = 84;
inline constexpr std::uint32_t UrlFixedPart = 104;
inline constexpr std::uint32_t RedirectLocationOffset = 16;
inline constexpr std::uint32_t UntypedSignature = 0xDEADBEEF;
inline constexpr std::uint32_t DataBlockHeader = 8;  // signature and length in blocks
inline constexpr std::uint32_t GroupEntrySize = 32;
inline constexpr std::uint32_t GroupDiskUsage = 16;

inline constexpr std::uint8_t NoDirectory = 0xFE;
inline constexpr std::uint32_t StickyEntry = 0x4;
}  // namespace ie_index

struct IeCacheDirectory {
    std::string Name;  // 8 characters as stored
    std::uint32_t FileCount = 0;
};

// One live URL record reached through the hash tables.
struct IeUrlRecord {
    std::uint32_t Offset = 0;      // file offset of the record
    std::uint32_t SlotOffset = 0;  // file offset of its hash slot
    std::uint32_t SlotFlags = 0;   // low 6 bits of the slot key
    std::uint32_t Blocks = 0;
    std::string Location;  // the source URL (or History name) as stored
    std::string FileName;  // the cached file's name; empty when none
    std::uint8_t DirectoryIndex = ie_index::NoDirectory;
    std::string HeaderText;              // response header, one trailing NUL stripped
    std::uint64_t LastModifiedTime = 0;  // FILETIME
    std::uint64_t LastAccessTime = 0;    // FILETIME
    std::uint32_t ExpireTime = 0;        // DOS date (low word) and time (high word)
    std::uint32_t LastSyncTime = 0;      // DOS date (low word) and time (high word)
    std::uint32_t HitCount = 0;
    std::uint64_t FileSize = 0;
    std::uint32_t EntryFlags = 0;
    std::uint32_t GroupOffset = 0;  // file offset of its group entry; 0 = none
    // Why the record must never be changed (its group offset names no group entry);
    // empty when it may be. Such a record is still listed.
    std::string Damage;
};

struct IeIndex {
    std::uint32_t TotalBlocks = 0;
    std::uint32_t AllocatedBlocks = 0;
    std::vector<IeCacheDirectory> Directories;
    std::vector<IeUrlRecord> Urls;  // in hash-table order: tables along the chain, slot by slot
    std::vector<std::uint32_t> LeakChain;  // file offsets of the LEAK records, in chain order
    // The LEAK records whose cached file can be named, in chain order (no hash slot;
    // a group offset outside the blocks reads as none).
    std::vector<IeUrlRecord> Leaks;
    std::vector<std::string> Damage;  // every inconsistency found; empty for a sound index

    bool IsSound() const { return Damage.empty(); }
};

// Reads an index.dat held in bytes. Fails (Malformed) only when the bytes do not
// start with an index.dat header; anything wrong after that is noted in damage and
// the records it concerns are left out.
Status ParseIndexFile(std::string_view bytes, IeIndex& index);

}  // namespace arkivo
