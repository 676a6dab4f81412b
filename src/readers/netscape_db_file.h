#pragma once
// Walking a Berkeley DB 1.85 hash file (Navigator's FAT.DB) for the pairs it holds.
//
// Page 0 starts with the header, always big-endian:
//
//   offset  field
//   0       magic 0x00061561
//   4       version 2
//   8       byte order of the pages: 1234 little-endian, 4321 big-endian
//   12      page size (a power of two; 4096 as Navigator creates it, 16384 in
//           files from Navigator 2)
//   40      highest bucket number in use
//   60      number of pages the header takes
//   68      32 four-byte counts: overflow pages allocated before each split point
//
// Bucket b lives on page b + header pages + (b > 0 ? spares[log2(b + 1) - 1] : 0),
// where log2(n) is the smallest i with 2^i >= n. An overflow page is named by a
// 16-bit address whose top 5 bits are a split point S and whose low 11 bits an
// index O; it is page O after the page of bucket 2^S - 1. Each bucket's pairs lie
// on its page and on the chain of overflow pages linked from it (see
// netscape_db_page.h). Pages never written read as zeros.
//
// Only pages reached from a bucket hold live pairs: freed overflow pages keep old
// pairs, and bitmap pages (free-page bitmaps, mostly 0xFF) hold none. Every page is
// read at most once, chains that loop or leave the file end, a page cut short by
// the end of the file counts as never written, and a table that breaks the layout
// gives up the rest of its page, so a damaged file yields fewer pairs.
//
// When page 0 is not a hash header the file is read page by page instead, every
// whole page after the first, with a page size guessed from the second 4096-byte
// block.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/netscape_db_page.h"

namespace arkivo {

struct HashHeader {
    bool BigEndianPages = false;
    std::uint32_t PageSize = 0;
    std::uint32_t HeaderPages = 0;
    std::uint32_t MaxBucket = 0;
    std::array<std::uint32_t, 32> Spares{};
};

// The header of page 0; std::nullopt when the file does not start with a hash
// header this reader can follow.
std::optional<HashHeader> ReadHashHeader(std::string_view file);

// 4096 when the file has a second 4096-byte block and any of its first 51 bytes is
// not zero (bucket 0's page in a file of 4096-byte pages); 16384 otherwise.
std::uint32_t GuessPageSize(std::string_view file);

// The pairs of a file in reader order. They view the file's bytes, which must
// outlive them, but for big pairs, whose parts are joined into strings kept here
// (a deque, whose strings stay in place as it grows or is moved). Not copyable:
// a copy's pairs would still view the original's strings.
class DbPairList {
  public:
    DbPairList() = default;
    DbPairList(DbPairList&&) = default;
    DbPairList& operator=(DbPairList&&) = default;
    DbPairList(const DbPairList&) = delete;
    DbPairList& operator=(const DbPairList&) = delete;

    std::vector<DbPair>::const_iterator begin() const { return pairs_.begin(); }
    std::vector<DbPair>::const_iterator end() const { return pairs_.end(); }
    std::size_t size() const { return pairs_.size(); }

    void Reserve(std::size_t count) { pairs_.reserve(count); }
    void Add(DbPair pair) { pairs_.push_back(pair); }
    // Keeps the joined key and data of a big pair, whose data starts at dataOffset in
    // the file; gives the pair viewing them.
    DbPair Keep(std::string key, std::string data, std::uint64_t dataOffset);

  private:
    std::vector<DbPair> pairs_;
    std::deque<std::string> joined_;
};

// The pairs of the file in reader order: pages in file order and, on each page, the
// newest pair first. pageRead is called once for every page read.
DbPairList ReadDbPairs(std::string_view file, const std::function<void()>& pageRead);

}  // namespace arkivo
