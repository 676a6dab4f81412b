#include "readers/ie_index_edit.h"

#include "platform/byte_reader.h"

namespace arkivo {
namespace {

using namespace ie_index;

// Offsets come from a parsed sound index, so they lie inside bytes.
std::uint64_t Load(const std::string& bytes, std::uint32_t offset, int size) {
    const ByteReader in(bytes);
    return size == 8 ? *in.U64LE(offset) : *in.U32LE(offset);
}

void Store(std::string& bytes, std::uint32_t offset, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void Lower(std::string& bytes, std::uint32_t offset, std::uint64_t amount, int size) {
    const std::uint64_t value = Load(bytes, offset, size);
    Store(bytes, offset, value > amount ? value - amount : 0, size);
}

void FreeRecord(std::string& bytes, const IeUrlRecord& record) {
    const std::uint32_t first = (record.Offset - BlocksOffset) / BlockSize;
    for (std::uint32_t block = first; block < first + record.Blocks; ++block) {
        bytes[BitmapOffset + (block >> 3)] &= static_cast<char>(~(1u << (block & 7)));
    }
    bytes.replace(record.Offset, std::size_t{record.Blocks} * BlockSize,
                  std::size_t{record.Blocks} * BlockSize, '\0');
    Lower(bytes, AllocatedBlocksOffset, record.Blocks, 4);
    if (record.DirectoryIndex != NoDirectory) {
        Lower(bytes, DirectoryTableOffset + record.DirectoryIndex * DirectoryEntrySize, 1, 4);
    }
    const bool sticky = (record.EntryFlags & StickyEntry) != 0;
    Lower(bytes, sticky ? ExemptUsageOffset : CacheUsageOffset, record.FileSize, 8);
    if (record.GroupOffset != 0) {
        Lower(bytes, record.GroupOffset + GroupDiskUsage, record.FileSize, 8);
    }
}

}  // namespace

void LeakUrlRecord(std::string& bytes, const IeUrlRecord& record) {
    bytes.replace(record.Offset, 4, "LEAK");
    Store(bytes, record.Offset + UrlNextLeak, Load(bytes, FirstLeakOffset, 4), 4);
    Store(bytes, FirstLeakOffset, record.Offset, 4);
    Store(bytes, record.SlotOffset, SlotDeleted, 4);
}

void FreeLeakRecords(std::string& bytes, const IeIndex& index,
                     const std::unordered_set<std::uint32_t>& offsets) {
    // Relink the records that stay first: freeing zeroes the links of the others.
    std::uint32_t link = FirstLeakOffset;
    for (const std::uint32_t offset : index.LeakChain) {
        if (!offsets.contains(offset)) {
            Store(bytes, link, offset, 4);
            link = offset + UrlNextLeak;
        }
    }
    Store(bytes, link, 0, 4);
    for (const IeUrlRecord& leak : index.Leaks) {
        if (offsets.contains(leak.Offset)) {
            FreeRecord(bytes, leak);
        }
    }
}

}  // namespace arkivo
