#pragma once
// Builds Internet Explorer cache indexes (index.dat, see readers/ie_index_file.h) in
// memory, record by record, the way Internet Explorer lays them out: a header with
// its directory table, an allocation bitmap, a group data block, chained hash
// tables filed by the cache's hash, URL, REDR and LEAK records with their strings,
// and the counters kept right. Shared by ie_fixture_writer and the fuzz targets
// that need a sound index to start from.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_reader.h"
#include "platform/clock.h"
#include "readers/ie_index_file.h"
#include "readers/ie_url_hash.h"

namespace arkivo::ie_fixture {

using namespace arkivo::ie_index;

inline constexpr std::uint32_t Filler = 0xDEADBEEF;
inline constexpr std::uint32_t GrowthBlocks = 128;  // the file grows by 0x4000 bytes

inline std::uint64_t FileTime(int year, int month, int day, int hour, int minute, int second) {
    const double date = *EncodeDate({year, month, day, hour, minute, second, 0});
    return static_cast<std::uint64_t>((date + 109205.0) * 86400.0 + 0.5) * 10000000ULL;
}

inline std::uint32_t DosTime(int year, int month, int day, int hour, int minute, int second) {
    const std::uint32_t date = ((year - 1980) << 9) | (month << 5) | day;
    const std::uint32_t time = (hour << 11) | (minute << 5) | (second / 2);
    return date | time << 16;
}

inline void Put32(std::string& bytes, std::uint32_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>(value >> (8 * i));
    }
}

inline void Put64(std::string& bytes, std::uint32_t offset, std::uint64_t value) {
    Put32(bytes, offset, static_cast<std::uint32_t>(value));
    Put32(bytes, offset + 4, static_cast<std::uint32_t>(value >> 32));
}

inline std::uint32_t Get32(const std::string& bytes, std::uint32_t offset) {
    return *ByteReader(bytes).U32LE(offset);
}

struct CacheEntryPlan {
    std::string Location{};
    std::string FileName{};  // empty: no file
    std::uint8_t Directory = 0;
    std::string Header{};  // stored with one trailing NUL unless RawHeader
    bool RawHeader = false;
    std::uint64_t LastAccess = FileTime(2015, 8, 25, 11, 5, 20);
    std::uint64_t LastModified = FileTime(2015, 3, 6, 9, 24, 44);
    std::uint32_t LastSync = DosTime(2015, 8, 25, 11, 5, 22);
    std::uint32_t Flags = 0x41;
    std::string Content{};  // the cached file's bytes
    bool WriteFile = true;
    bool Grouped = false;
};

class IndexBuilder {
  public:
    IndexBuilder(std::string_view signature, std::vector<std::string> directories)
        : directories_(std::move(directories)) {
        bytes_.assign(BlocksOffset, '\0');
        bytes_.replace(0, signature.size(), signature);
        Put32(bytes_, DirectoryCountOffset, static_cast<std::uint32_t>(directories_.size()));
        for (std::size_t i = 0; i < directories_.size(); ++i) {
            std::string name = directories_[i];
            name.resize(DirectoryNameSize, '\0');
            bytes_.replace(DirectoryTableOffset + i * DirectoryEntrySize + 4, DirectoryNameSize,
                           name);
        }
        Put64(bytes_, 48, 0x03200000);  // the cache size limit
        Grow();
    }

    // A 32-block data block with one group entry, as IE keeps before its first table.
    void AddGroup() {
        groupBlock_ = Allocate(HashBlocks);
        Fill(groupBlock_, HashBlocks * BlockSize);
        Put32(bytes_, groupBlock_, Filler);
        Put32(bytes_, groupBlock_ + 4, HashBlocks);
        groupEntry_ = groupBlock_ + 8;
        bytes_.replace(groupEntry_, 32, 32, '\0');
        Put32(bytes_, 0x1E0, groupEntry_);
    }

    void AddHashTable() {
        const std::uint32_t table = Allocate(HashBlocks);
        Fill(table, HashBlocks * BlockSize);
        bytes_.replace(table, 4, "HASH");
        Put32(bytes_, table + 4, HashBlocks);
        Put32(bytes_, table + HashNextOffset, 0);
        Put32(bytes_, table + HashSequenceOffset, static_cast<std::uint32_t>(tables_.size()));
        for (std::uint32_t slot = 0; slot < HashSlotCount; ++slot) {
            Put32(bytes_, table + HashSlotsOffset + slot * HashSlotSize, SlotFree);
            Put32(bytes_, table + HashSlotsOffset + slot * HashSlotSize + 4, SlotFree);
        }
        if (tables_.empty()) {
            Put32(bytes_, FirstHashOffset, table);
        } else {
            Put32(bytes_, tables_.back() + HashNextOffset, table);
        }
        tables_.push_back(table);
    }

    // Whether AddUrl(entry) finds room without the file growing past the largest
    // size its bitmap can describe.
    bool Fits(const CacheEntryPlan& entry) const {
        const std::uint32_t tableBlocks = FreeSlot(UrlCacheHash(entry.Location)) ? 0 : HashBlocks;
        return usedEnd_ + LayOut(entry).Blocks + tableBlocks <= MaxBlocks;
    }

    // Adds a live URL record; returns the file offset of its hash slot.
    std::uint32_t AddUrl(const CacheEntryPlan& entry) {
        const std::uint32_t record = WriteUrlRecord(entry, "URL ");
        CountFile(entry);
        return FileInSlot(entry.Location, entry.Grouped ? SlotUrlInGroup : SlotUrl, record);
    }

    // A redirect from location to the entry filed in targetSlot.
    void AddRedirect(const std::string& location, std::uint32_t targetSlot) {
        const std::uint32_t size = Align(RedirectLocationOffset + location.size() + 1);
        const std::uint32_t blocks = (size + BlockSize - 1) / BlockSize;
        const std::uint32_t record = Allocate(blocks);
        Fill(record, blocks * BlockSize);
        bytes_.replace(record, 4, "REDR");
        Put32(bytes_, record + 4, blocks);
        Put32(bytes_, record + 8, targetSlot);
        Put32(bytes_, record + 12, Get32(bytes_, targetSlot));
        bytes_.replace(record + RedirectLocationOffset, location.size() + 1, location.c_str(),
                       location.size() + 1);
        FileInSlot(location, SlotRedirect, record);
    }

    // A record whose file could not be removed: chained from the header, counted.
    void AddLeak(const CacheEntryPlan& entry) {
        const std::uint32_t record = WriteUrlRecord(entry, "LEAK");
        Put32(bytes_, record + UrlNextLeak, Get32(bytes_, FirstLeakOffset));
        Put32(bytes_, FirstLeakOffset, record);
        CountFile(entry);
    }

    // An entry deleted earlier: its blocks freed but not wiped, its slot marked
    // deleted with the stale offset left in place.
    void AddDeletedEntry(const CacheEntryPlan& entry) {
        const std::uint32_t record = WriteUrlRecord(entry, "URL ");
        const std::uint32_t slot = FileInSlot(entry.Location, SlotUrl, record);
        Put32(bytes_, slot, SlotDeleted);
        const std::uint32_t first = (record - BlocksOffset) / BlockSize;
        freeFrom_ = std::min(freeFrom_, first);
        for (std::uint32_t block = first; block < first + Get32(bytes_, record + 4); ++block) {
            SetBit(block, false);
        }
    }

    std::string Finish() {
        std::uint32_t allocated = 0;
        for (std::uint32_t block = 0; block < totalBlocks_; ++block) {
            allocated += Bit(block) ? 1 : 0;
        }
        Put32(bytes_, FileSizeOffset, static_cast<std::uint32_t>(bytes_.size()));
        Put32(bytes_, TotalBlocksOffset, totalBlocks_);
        Put32(bytes_, AllocatedBlocksOffset, allocated);
        Put64(bytes_, CacheUsageOffset, usage_);
        Put64(bytes_, ExemptUsageOffset, exemptUsage_);
        for (std::size_t i = 0; i < directories_.size(); ++i) {
            Put32(bytes_, DirectoryTableOffset + i * DirectoryEntrySize, fileCounts_[i]);
        }
        if (groupEntry_ != 0) {
            Put64(bytes_, groupEntry_ + GroupDiskUsage, groupUsage_);
        }
        return bytes_;
    }

  private:
    static std::uint32_t Align(std::size_t size) {
        return static_cast<std::uint32_t>((size + 3) & ~std::size_t{3});
    }

    void Grow() {
        if (totalBlocks_ + GrowthBlocks > MaxBlocks) {
            std::fprintf(stderr, "ie_fixture_writer: the index would outgrow its bitmap\n");
            std::exit(1);
        }
        totalBlocks_ += GrowthBlocks;
        bytes_.append(GrowthBlocks * BlockSize, '\0');
    }

    bool Bit(std::uint32_t block) const {
        return (bytes_[BitmapOffset + (block >> 3)] >> (block & 7) & 1) != 0;
    }

    void SetBit(std::uint32_t block, bool set) {
        char& byte = bytes_[BitmapOffset + (block >> 3)];
        const char mask = static_cast<char>(1 << (block & 7));
        byte = static_cast<char>(set ? (byte | mask) : (byte & ~mask));
    }

    // First fit; the file grows when no run is free. Blocks below freeFrom_ are all
    // allocated, so the search starts there.
    std::uint32_t Allocate(std::uint32_t blocks) {
        for (;;) {
            while (freeFrom_ < totalBlocks_ && Bit(freeFrom_)) {
                ++freeFrom_;
            }
            std::uint32_t run = 0;
            for (std::uint32_t block = freeFrom_; block < totalBlocks_; ++block) {
                run = Bit(block) ? 0 : run + 1;
                if (run == blocks) {
                    const std::uint32_t first = block + 1 - blocks;
                    for (std::uint32_t i = first; i <= block; ++i) {
                        SetBit(i, true);
                    }
                    usedEnd_ = std::max(usedEnd_, block + 1);
                    return BlocksOffset + first * BlockSize;
                }
            }
            Grow();
        }
    }

    void Fill(std::uint32_t offset, std::uint32_t size) {
        for (std::uint32_t i = 0; i + 4 <= size; i += 4) {
            Put32(bytes_, offset + i, Filler);
        }
    }

    static std::string StoredHeader(const CacheEntryPlan& entry) {
        return entry.RawHeader ? entry.Header : entry.Header + '\0';
    }

    // Where a URL record's strings go, and its length in blocks.
    struct UrlLayout {
        std::uint32_t LocationAt = 0;
        std::uint32_t FileAt = 0;    // 0: no file name
        std::uint32_t HeaderAt = 0;  // 0: no header
        std::uint32_t Blocks = 0;
    };

    static UrlLayout LayOut(const CacheEntryPlan& entry) {
        const std::size_t headerSize = StoredHeader(entry).size();
        UrlLayout layout;
        std::uint32_t size = UrlFixedPart;
        layout.LocationAt = size;
        size = Align(size + entry.Location.size() + 1);
        layout.FileAt = entry.FileName.empty() ? 0 : size;
        size = Align(size + (entry.FileName.empty() ? 0 : entry.FileName.size() + 1));
        layout.HeaderAt = headerSize == 0 ? 0 : size;
        size = Align(size + headerSize);
        layout.Blocks = (size + BlockSize - 1) / BlockSize;
        return layout;
    }

    std::uint32_t WriteUrlRecord(const CacheEntryPlan& entry, std::string_view signature) {
        const std::string header = StoredHeader(entry);
        const auto [locationAt, fileAt, headerAt, blocks] = LayOut(entry);

        const std::uint32_t record = Allocate(blocks);
        Fill(record, blocks * BlockSize);
        bytes_.replace(record, 4, signature);
        Put32(bytes_, record + 4, blocks);
        Put64(bytes_, record + 8, entry.LastModified);
        Put64(bytes_, record + UrlLastAccessTime, entry.LastAccess);
        Put32(bytes_, record + 24, 0);
        Put32(bytes_, record + 28, 0);
        Put64(bytes_, record + UrlFileSize, entry.Content.size());
        Put32(bytes_, record + UrlGroupOffset, entry.Grouped ? groupEntry_ : 0);
        Put32(bytes_, record + UrlNextLeak, (entry.Flags & StickyEntry) != 0 ? 86400 : 0);
        Put32(bytes_, record + 48, 0x60);
        Put32(bytes_, record + UrlLocationOffset, locationAt);
        Put32(bytes_, record + UrlDirectoryIndex, 0x10100000u | entry.Directory);
        Put32(bytes_, record + UrlFileNameOffset, fileAt);
        Put32(bytes_, record + UrlEntryFlags, entry.Flags);
        Put32(bytes_, record + UrlHeaderOffset, headerAt);
        Put32(bytes_, record + UrlHeaderSize, static_cast<std::uint32_t>(header.size()));
        Put32(bytes_, record + 76, 0);
        Put32(bytes_, record + UrlLastSyncTime, entry.LastSync);
        Put32(bytes_, record + 84, 1);
        Put32(bytes_, record + 88, 0);
        Put32(bytes_, record + 92, entry.LastSync);
        Put32(bytes_, record + 96, 0);
        bytes_.replace(record + locationAt, entry.Location.size() + 1, entry.Location.c_str(),
                       entry.Location.size() + 1);
        if (fileAt != 0) {
            bytes_.replace(record + fileAt, entry.FileName.size() + 1, entry.FileName.c_str(),
                           entry.FileName.size() + 1);
        }
        if (headerAt != 0) {
            bytes_.replace(record + headerAt, header.size(), header);
        }
        return record;
    }

    void CountFile(const CacheEntryPlan& entry) {
        if (entry.Directory < directories_.size()) {
            ++fileCounts_[entry.Directory];
        }
        ((entry.Flags & StickyEntry) != 0 ? exemptUsage_ : usage_) += entry.Content.size();
        if (entry.Grouped) {
            groupUsage_ += entry.Content.size();
        }
    }

    // The file offset of the first free slot of the hash's bucket along the chain;
    // none when the bucket is full in every table.
    std::optional<std::uint32_t> FreeSlot(std::uint32_t hash) const {
        const std::uint32_t bucket = hash & 63;
        for (const std::uint32_t table : tables_) {
            for (std::uint32_t i = 0; i < HashBucketSize; ++i) {
                const std::uint32_t slot =
                    table + HashSlotsOffset + (bucket * HashBucketSize + i) * HashSlotSize;
                if (Get32(bytes_, slot) == SlotFree) {
                    return slot;
                }
            }
        }
        return std::nullopt;
    }

    // Files the record in the first free slot of its bucket, adding a table to the
    // chain when the bucket is full in every table. Returns the slot's file offset.
    std::uint32_t FileInSlot(const std::string& location, std::uint32_t flags,
                             std::uint32_t record) {
        const std::uint32_t hash = UrlCacheHash(location);
        std::optional<std::uint32_t> slot = FreeSlot(hash);
        if (!slot) {
            AddHashTable();
            slot = FreeSlot(hash);
        }
        Put32(bytes_, *slot, (hash & ~SlotFlagMask) | flags);
        Put32(bytes_, *slot + 4, record);
        return *slot;
    }

    std::string bytes_;
    std::vector<std::string> directories_;
    std::vector<std::uint32_t> fileCounts_ = std::vector<std::uint32_t>(32, 0);
    std::vector<std::uint32_t> tables_;
    std::uint32_t totalBlocks_ = 0;
    std::uint32_t freeFrom_ = 0;
    std::uint32_t usedEnd_ = 0;  // one past the last block ever allocated
    std::uint32_t groupBlock_ = 0;
    std::uint32_t groupEntry_ = 0;
    std::uint64_t usage_ = 0;
    std::uint64_t exemptUsage_ = 0;
    std::uint64_t groupUsage_ = 0;
};

}  // namespace arkivo::ie_fixture
