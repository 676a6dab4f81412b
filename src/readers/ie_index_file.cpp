#include "readers/ie_index_file.h"

#include <bit>
#include <map>
#include <optional>
#include <set>

#include "platform/byte_reader.h"
#include "platform/path.h"
#include "readers/ie_url_hash.h"

namespace arkivo {
namespace {

using namespace ie_index;

constexpr std::uint32_t Tag(const char (&text)[5]) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(text[0])) |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(text[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(text[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(text[3])) << 24;
}
constexpr std::uint32_t HashTag = Tag("HASH");
constexpr std::uint32_t UrlTag = Tag("URL ");
constexpr std::uint32_t RedirectTag = Tag("REDR");
constexpr std::uint32_t LeakTag = Tag("LEAK");
constexpr std::uint32_t UntypedTag = UntypedSignature;

std::string Hex(std::uint64_t value) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return "0x" + text;
}

// The NUL-terminated string at offset inside a record; std::nullopt when the offset
// lies in the fixed part or the string has no NUL before the record ends.
std::optional<std::string> RecordString(std::string_view record, std::uint32_t offset,
                                        std::uint32_t firstStringOffset) {
    if (offset < firstStringOffset || offset >= record.size()) {
        return std::nullopt;
    }
    const std::size_t end = record.find('\0', offset);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(record.substr(offset, end - offset));
}

class IndexParser {
  public:
    IndexParser(std::string_view bytes, IeIndex& index) : in_(bytes), index_(index) {}

    Status Parse() {
        index_ = IeIndex{};
        if (const Status status = CheckSignature(); !status.ok()) {
            return status;
        }
        if (in_.size() < BlocksOffset) {
            Damage("the file is shorter than its header");
            return Status::Ok();
        }
        ReadHeader();
        ReadBitmap();
        WalkAllocatedRuns();
        WalkHashTables();
        WalkLeakChain();
        return Status::Ok();
    }

  private:
    void Damage(std::string what) { index_.Damage.push_back(std::move(what)); }

    Status CheckSignature() {
        const auto head = in_.Slice(0, Signature.size() + 1);
        if (head && head->substr(0, Signature.size()) == Signature && head->back() == '\0') {
            return Status::Ok();
        }
        const std::string text = in_.CString(0, Signature.size() + 1);
        if (text.size() <= Signature.size() && text.starts_with(WineSignaturePrefix) &&
            in_.Contains(0, text.size() + 1)) {
            return Status::Ok();
        }
        return Status::Error(StatusCode::Malformed,
                             "not an Internet Explorer cache index (index.dat 5.2)");
    }

    void ReadHeader() {
        const std::uint32_t sizeField = *in_.U32LE(FileSizeOffset);
        index_.TotalBlocks = *in_.U32LE(TotalBlocksOffset);
        index_.AllocatedBlocks = *in_.U32LE(AllocatedBlocksOffset);
        if (index_.TotalBlocks > MaxBlocks) {
            Damage("total block count " + std::to_string(index_.TotalBlocks) + " is too large");
            index_.TotalBlocks = MaxBlocks;
        }
        const std::uint64_t expectedSize =
            BlocksOffset + std::uint64_t{BlockSize} * index_.TotalBlocks;
        if (sizeField != in_.size() || expectedSize != in_.size()) {
            Damage("the file is " + std::to_string(in_.size()) + " bytes; its header says " +
                   std::to_string(sizeField) + " and its block count " +
                   std::to_string(expectedSize));
        }
        // Blocks that the bytes do not hold are treated as missing.
        usableBlocks_ = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(index_.TotalBlocks, (in_.size() - BlocksOffset) / BlockSize));

        std::uint32_t count = *in_.U32LE(DirectoryCountOffset);
        if (count > MaxDirectories) {
            Damage("directory count " + std::to_string(count) + " is too large");
            count = 0;
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t entry = DirectoryTableOffset + i * DirectoryEntrySize;
            IeCacheDirectory directory;
            directory.FileCount = *in_.U32LE(entry);
            directory.Name = in_.CString(entry + 4, DirectoryNameSize);
            if (!IsSafePathComponent(directory.Name)) {
                Damage("cache directory " + std::to_string(i) + " has an unusable name");
            }
            index_.Directories.push_back(std::move(directory));
        }
    }

    bool Allocated(std::uint64_t block) const {
        const auto byte = in_.U8(BitmapOffset + (block >> 3));
        return byte && (*byte >> (block & 7) & 1) != 0;
    }

    void ReadBitmap() {
        std::uint64_t setBits = 0;
        bool setBeyondEnd = false;
        for (std::uint32_t offset = BitmapOffset; offset < BlocksOffset; ++offset) {
            const std::uint8_t byte = *in_.U8(offset);
            setBits += static_cast<std::uint64_t>(std::popcount(byte));
            for (int bit = 0; bit < 8 && byte != 0; ++bit) {
                if ((byte >> bit & 1) != 0 &&
                    (offset - BitmapOffset) * 8ULL + bit >= index_.TotalBlocks) {
                    setBeyondEnd = true;
                }
            }
        }
        if (setBits != index_.AllocatedBlocks) {
            Damage("the header counts " + std::to_string(index_.AllocatedBlocks) +
                   " allocated blocks; the bitmap has " + std::to_string(setBits));
        }
        if (setBeyondEnd) {
            Damage("the bitmap marks blocks beyond the end of the file");
        }
    }

    // Every allocated run must be exactly one record: its block count starts at a set
    // bit and covers only set bits.
    void WalkAllocatedRuns() {
        std::uint32_t block = 0;
        while (block < index_.TotalBlocks) {
            if (!Allocated(block)) {
                ++block;
                continue;
            }
            const std::uint64_t offset = BlocksOffset + std::uint64_t{BlockSize} * block;
            const auto blocks = in_.U32LE(offset + 4);
            bool covered = blocks && *blocks >= 1 && *blocks <= index_.TotalBlocks - block &&
                           block + *blocks <= usableBlocks_;
            for (std::uint32_t i = 1; covered && i < *blocks; ++i) {
                covered = Allocated(block + i);
            }
            if (!covered) {
                Damage("the allocated blocks at " + Hex(offset) + " do not form a record");
                ++block;
                continue;
            }
            runs_[static_cast<std::uint32_t>(offset)] = *blocks;
            block += *blocks;
        }
    }

    // The record at offset with its signature, when it is a whole allocated run of at
    // least minimumSize bytes inside the file.
    std::optional<std::string_view> Record(std::uint32_t offset, std::uint32_t tag,
                                           std::uint32_t minimumSize) {
        const auto run = runs_.find(offset);
        if (run == runs_.end()) {
            return std::nullopt;
        }
        const std::uint64_t size = std::uint64_t{run->second} * BlockSize;
        const auto record = in_.Slice(offset, size);
        if (!record || size < minimumSize || in_.U32LE(offset) != tag) {
            return std::nullopt;
        }
        return record;
    }

    // True when a whole group entry lies at offset: inside a group data block (an
    // allocated run of untyped data), after the block's signature and length. The
    // header, the bitmap, hash tables, URL, REDR and LEAK records and free blocks hold
    // none, so a delete lowering the entry's disk usage writes into none of them.
    bool IsGroupEntry(std::uint32_t offset) const {
        auto run = runs_.upper_bound(offset);
        if (run == runs_.begin()) {
            return false;
        }
        --run;
        const std::uint64_t end = run->first + std::uint64_t{run->second} * BlockSize;
        return std::uint64_t{offset} >= std::uint64_t{run->first} + DataBlockHeader &&
               std::uint64_t{offset} + GroupEntrySize <= end && in_.U32LE(run->first) == UntypedTag;
    }

    void WalkHashTables() {
        std::set<std::uint32_t> seenTables;
        std::uint32_t offset = *in_.U32LE(FirstHashOffset);
        std::uint32_t sequence = 0;
        while (offset != 0) {
            if (!seenTables.insert(offset).second) {
                Damage("the hash table chain loops at " + Hex(offset));
                return;
            }
            const auto table = Record(offset, HashTag, HashBlocks * BlockSize);
            if (!table || in_.U32LE(offset + HashSequenceOffset) != sequence) {
                Damage("no valid hash table at " + Hex(offset));
                return;
            }
            for (std::uint32_t slot = 0; slot < HashSlotCount; ++slot) {
                ReadSlot(offset + HashSlotsOffset + slot * HashSlotSize, slot);
            }
            offset = *in_.U32LE(offset + HashNextOffset);
            ++sequence;
        }
    }

    void ReadSlot(std::uint32_t slotOffset, std::uint32_t slotIndex) {
        const std::uint32_t key = *in_.U32LE(slotOffset);
        const std::uint32_t recordOffset = *in_.U32LE(slotOffset + 4);
        if (key == SlotFree || key == SlotDeleted || key == recordOffset) {
            return;
        }
        const std::uint32_t flags = key & SlotFlagMask;
        std::string location;
        if (flags == SlotUrl || flags == SlotUrlLocked || flags == SlotUrlInGroup) {
            auto record = ReadUrlRecord(recordOffset);
            if (!record) {
                return;
            }
            location = record->Location;
            if (!seenRecords_.insert(recordOffset).second) {
                Damage("two hash slots name the record at " + Hex(recordOffset));
                return;
            }
            record->SlotOffset = slotOffset;
            record->SlotFlags = flags;
            index_.Urls.push_back(std::move(*record));
        } else if (flags == SlotRedirect) {
            const auto record = Record(recordOffset, RedirectTag, BlockSize);
            const auto target =
                record ? RecordString(*record, RedirectLocationOffset, RedirectLocationOffset)
                       : std::nullopt;
            if (!target) {
                Damage("no valid redirect record at " + Hex(recordOffset));
                return;
            }
            location = *target;
        } else {
            Damage("hash slot at " + Hex(slotOffset) + " has unknown flags " + Hex(flags));
            return;
        }
        const std::uint32_t hash = UrlCacheHash(location);
        if ((hash & ~SlotFlagMask) != (key & ~SlotFlagMask) ||
            (hash & 63) != slotIndex / HashBucketSize) {
            Damage("hash slot at " + Hex(slotOffset) + " does not match its location");
        }
    }

    std::optional<IeUrlRecord> ReadUrlRecord(std::uint32_t offset) {
        const std::string where = "URL record at " + Hex(offset);
        const auto bytes = Record(offset, UrlTag, UrlFixedPart);
        if (!bytes) {
            Damage("no valid " + where);
            return std::nullopt;
        }
        const ByteReader record(*bytes);
        IeUrlRecord url;
        url.Offset = offset;
        url.Blocks = *record.U32LE(4);
        url.LastModifiedTime = *record.U64LE(UrlLastModifiedTime);
        url.LastAccessTime = *record.U64LE(UrlLastAccessTime);
        url.ExpireTime = *record.U32LE(UrlExpireTime);
        url.FileSize = *record.U64LE(UrlFileSize);
        url.GroupOffset = *record.U32LE(UrlGroupOffset);
        url.DirectoryIndex = *record.U8(UrlDirectoryIndex);
        url.EntryFlags = *record.U32LE(UrlEntryFlags);
        url.LastSyncTime = *record.U32LE(UrlLastSyncTime);
        url.HitCount = *record.U32LE(UrlHitCount);

        const auto location = RecordString(*bytes, *record.U32LE(UrlLocationOffset), UrlFixedPart);
        if (!location) {
            Damage(where + " has no valid location");
            return std::nullopt;
        }
        url.Location = *location;
        if (const std::uint32_t nameOffset = *record.U32LE(UrlFileNameOffset); nameOffset != 0) {
            const auto name = RecordString(*bytes, nameOffset, UrlFixedPart);
            if (!name) {
                Damage(where + " has no valid file name");
                return std::nullopt;
            }
            url.FileName = *name;
        }
        if (const std::uint32_t headerOffset = *record.U32LE(UrlHeaderOffset); headerOffset != 0) {
            const auto header = headerOffset >= UrlFixedPart
                                    ? record.Slice(headerOffset, *record.U32LE(UrlHeaderSize))
                                    : std::nullopt;
            if (!header) {
                Damage(where + " has a header outside the record");
                return std::nullopt;
            }
            url.HeaderText = std::string(*header);
            if (!url.HeaderText.empty() && url.HeaderText.back() == '\0') {
                url.HeaderText.pop_back();
            }
        }
        if (url.DirectoryIndex != NoDirectory && url.DirectoryIndex >= index_.Directories.size()) {
            Damage(where + " names a cache directory that does not exist");
            return std::nullopt;
        }
        if (url.GroupOffset != 0 && !IsGroupEntry(url.GroupOffset)) {
            url.Damage = where + " names a group entry at " + Hex(url.GroupOffset) +
                         ", outside every group data block";
        }
        return url;
    }

    void WalkLeakChain() {
        std::uint32_t offset = *in_.U32LE(FirstLeakOffset);
        std::set<std::uint32_t> seen;
        while (offset != 0) {
            if (!seen.insert(offset).second) {
                Damage("the LEAK record chain loops at " + Hex(offset));
                return;
            }
            const auto record = Record(offset, LeakTag, UrlFixedPart);
            if (!record) {
                Damage("no valid LEAK record at " + Hex(offset));
                return;
            }
            index_.LeakChain.push_back(offset);
            if (auto leak = ReadLeakRecord(offset, *record)) {
                index_.Leaks.push_back(std::move(*leak));
            }
            offset = *in_.U32LE(offset + UrlNextLeak);
        }
    }

    // The fields of a LEAK record needed to remove its file and free it; std::nullopt
    // when its file cannot be named. Filler in the other fields is no damage.
    std::optional<IeUrlRecord> ReadLeakRecord(std::uint32_t offset, std::string_view bytes) const {
        const ByteReader record(bytes);
        IeUrlRecord leak;
        leak.Offset = offset;
        leak.Blocks = *record.U32LE(4);
        leak.FileSize = *record.U64LE(UrlFileSize);
        leak.EntryFlags = *record.U32LE(UrlEntryFlags);
        leak.DirectoryIndex = *record.U8(UrlDirectoryIndex);
        if (leak.DirectoryIndex != NoDirectory &&
            leak.DirectoryIndex >= index_.Directories.size()) {
            return std::nullopt;
        }
        if (const std::uint32_t nameOffset = *record.U32LE(UrlFileNameOffset); nameOffset != 0) {
            auto name = RecordString(bytes, nameOffset, UrlFixedPart);
            if (!name) {
                return std::nullopt;
            }
            leak.FileName = std::move(*name);
        }
        leak.Location =
            RecordString(bytes, *record.U32LE(UrlLocationOffset), UrlFixedPart).value_or("");
        leak.GroupOffset = *record.U32LE(UrlGroupOffset);
        if (!IsGroupEntry(leak.GroupOffset)) {
            leak.GroupOffset = 0;
        }
        return leak;
    }

    ByteReader in_;
    IeIndex& index_;
    std::uint32_t usableBlocks_ = 0;
    std::map<std::uint32_t, std::uint32_t> runs_;  // record offset -> blocks
    std::set<std::uint32_t> seenRecords_;
};

}  // namespace

Status ParseIndexFile(std::string_view bytes, IeIndex& index) {
    return IndexParser(bytes, index).Parse();
}

}  // namespace arkivo
