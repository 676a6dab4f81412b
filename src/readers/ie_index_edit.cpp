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

void MarkSlotDeleted(std::string& bytes, const IeUrlRecord& record) {
    Store(bytes, record.slotOffset, SlotDeleted, 4);
}

}  // namespace

void FreeUrlRecord(std::string& bytes, const IeUrlRecord& record) {
    const std::uint32_t first = (record.offset - BlocksOffset) / BlockSize;
    for (std::uint32_t block = first; block < first + record.blocks; ++block) {
        bytes[BitmapOffset + (block >> 3)] &= static_cast<char>(~(1u << (block & 7)));
    }
    bytes.replace(record.offset, std::size_t{record.blocks} * BlockSize,
                  std::size_t{record.blocks} * BlockSize, '\0');
    Lower(bytes, AllocatedBlocksOffset, record.blocks, 4);
    if (record.directoryIndex != NoDirectory) {
        Lower(bytes, DirectoryTableOffset + record.directoryIndex * DirectoryEntrySize, 1, 4);
    }
    const bool sticky = (record.entryFlags & StickyEntry) != 0;
    Lower(bytes, sticky ? ExemptUsageOffset : CacheUsageOffset, record.fileSize, 8);
    if (record.groupOffset != 0) {
        Lower(bytes, record.groupOffset + GroupDiskUsage, record.fileSize, 8);
    }
    MarkSlotDeleted(bytes, record);
}

void LeakUrlRecord(std::string& bytes, const IeUrlRecord& record) {
    bytes.replace(record.offset, 4, "LEAK");
    Store(bytes, record.offset + UrlNextLeak, Load(bytes, FirstLeakOffset, 4), 4);
    Store(bytes, FirstLeakOffset, record.offset, 4);
    MarkSlotDeleted(bytes, record);
}

}  // namespace arkivo
