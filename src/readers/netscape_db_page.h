#pragma once
// One page of a Berkeley DB 1.85 hash file, the format of Navigator's FAT.DB.
//
// A data page (a bucket's page or one of its overflow pages) starts with a table
// of 16-bit words in the byte order the file header names (little-endian in every
// file a PC wrote):
//
//   word 0         n, the number of offset words that follow
//   words 1 .. n   per pair: the page offset of its key, then of its data
//   word n + 1     free bytes between the table and the item area
//   word n + 2     the page offset of the item area's lowest byte
//
// Items grow down from the end of the page: each pair's key lies directly below
// the previous pair's data, its data directly below its key, so a key ends where
// the previous pair's data starts (or at the page end) and the data ends where its
// key starts. A data offset below 4 is a marker, not an offset:
//
//   0  the pair is (overflow address, 0): the bucket continues on that overflow
//      page; always the last pair of the table
//   1  part of a big pair's key (the key goes on on the next page)
//   2  the last part of a big pair's key; its data starts on the next page
//   3  the end of a big pair: key and data (or data alone) end on this page
//
// Big pairs (a key and data too large for one page) begin as the first pair of a
// page; the page's own chunk runs from the offset in word 1 to the page end.
//
// Deleting a pair moves the newer items up and lowers n; the old bytes stay in
// the free space below the item area and are never read here.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace arkivo {

inline constexpr std::uint16_t OverflowPageMark = 0;
inline constexpr std::uint16_t PartialKeyMark = 1;
inline constexpr std::uint16_t FullKeyMark = 2;
inline constexpr std::uint16_t FullKeyDataMark = 3;
inline constexpr std::uint16_t RealKeyOffset = 4;  // the lowest offset of a real item

// At most this many pairs are taken from one page, whatever its table claims.
inline constexpr int MaxPairsPerPage = 250;

// A key and its data as the database holds them: views of the file's bytes (a big
// pair, which spans pages, views its parts as ReadDbPairs joined them), and where
// the data starts in the file (ReadDbPairs fills it in).
struct DbPair {
    std::string_view Key;
    std::string_view Data;
    std::uint64_t DataOffset = 0;
};

// A read-only view of one page. A page of which fewer bytes are given (one cut
// short by the end of the file) reads as never written: all zeros.
class DbPage {
  public:
    DbPage(std::string_view bytes, std::uint32_t pageSize, bool bigEndian)
        : bytes_(bytes.size() >= pageSize ? bytes.substr(0, pageSize) : std::string_view()),
          size_(pageSize),
          bigEndian_(bigEndian) {}

    std::uint32_t Size() const { return size_; }

    // The 16-bit value at page offset o in the table's byte order; 0 when it does
    // not lie wholly inside the page.
    std::uint16_t PageWord(std::uint32_t offset) const;

    // Table word i (word 0 is the count).
    std::uint16_t Word(std::uint32_t index) const { return PageWord(2 * index); }

    // The page bytes [from, to), viewing the file; empty when the range is not
    // inside the page or the page reads as never written.
    std::string_view Bytes(std::uint32_t from, std::uint32_t to) const;

  private:
    std::string_view bytes_;  // the whole page, or empty
    std::uint32_t size_;
    bool bigEndian_;
};

// The real pairs of a page table from word firstIndex on, in table order (oldest
// first), and the overflow address when the table ends with a link. The first key
// ends at boundary. Reading stops, keeping what was read, at the first entry that
// breaks the page layout (offsets out of order, a marker out of place, a table
// longer than the page) and after MaxPairsPerPage pairs.
struct PageTable {
    std::vector<DbPair> Pairs;
    std::optional<std::uint16_t> Overflow;
};
PageTable ReadPageTable(const DbPage& page, std::uint32_t firstIndex, std::uint32_t boundary);

// True when the page's first pair carries a big-pair marker.
bool StartsBigPair(const DbPage& page);

}  // namespace arkivo
