#include "readers/netscape_db_file.h"

#include <functional>
#include <map>

#include "platform/byte_reader.h"

namespace arkivo {
namespace {

constexpr std::uint32_t HashMagic = 0x00061561;
constexpr std::uint32_t HashVersion = 2;
constexpr std::uint32_t LittleEndianOrder = 1234;
constexpr std::uint32_t BigEndianOrder = 4321;
constexpr std::uint32_t SmallPageSize = 4096;
constexpr std::uint32_t LargePageSize = 16384;

// The smallest i with 2^i >= n.
std::uint32_t CeilLog2(std::uint64_t n) {
    std::uint32_t i = 0;
    while ((std::uint64_t{1} << i) < n) {
        ++i;
    }
    return i;
}

// The file offset where part, a view of the file's bytes, starts; 0 when it views
// none of them.
std::uint64_t OffsetInFile(std::string_view file, std::string_view part) {
    const std::less_equal<const char*> atOrBefore;
    if (part.data() == nullptr || !atOrBefore(file.data(), part.data()) ||
        !atOrBefore(part.data(), file.data() + file.size())) {
        return 0;
    }
    return static_cast<std::uint64_t>(part.data() - file.data());
}

// Follows the bucket chains of a file with a valid header and keeps, per page, the
// pairs found on it in table order.
class ChainWalk {
  public:
    ChainWalk(std::string_view file, const HashHeader& header,
              const std::function<void()>& pageRead)
        : file_(file),
          header_(header),
          pageRead_(pageRead),
          pageCount_((file.size() + header.PageSize - 1) / header.PageSize),
          visited_(pageCount_, false) {}

    DbPairList LivePairs() {
        // A bucket's page is never below its number, so buckets past the page count
        // have no page in the file; this also bounds a forged highest bucket number.
        for (std::uint64_t bucket = 0; bucket <= header_.MaxBucket && bucket < pageCount_;
             ++bucket) {
            if (const auto page = PageOfBucket(bucket)) {
                WalkChain(*page);
            }
        }
        // Chains visit pages out of file order; the map puts them back in file order,
        // and each page's pairs are given newest first, as the page-by-page reading does.
        std::size_t count = 0;
        for (const auto& [page, onPage] : byPage_) {
            count += onPage.size();
        }
        pairs_.Reserve(count);
        for (const auto& [page, onPage] : byPage_) {
            for (auto it = onPage.rbegin(); it != onPage.rend(); ++it) {
                pairs_.Add(*it);
            }
        }
        return std::move(pairs_);
    }

  private:
    enum class BigPhase { None, Key, Data };

    struct BigPair {
        std::string Key;
        std::string Data;
        std::uint64_t DataOffset = 0;
    };

    std::optional<std::uint64_t> PageOfBucket(std::uint64_t bucket) const {
        std::uint64_t page = bucket + header_.HeaderPages;
        if (bucket > 0) {
            const std::uint32_t split = CeilLog2(bucket + 1);
            // A guard on the index only: the 32-bit bucket numbers of the header and of
            // overflow addresses all have a split point inside the table.
            if (split == 0 || split > header_.Spares.size()) {
                return std::nullopt;
            }
            page += header_.Spares[split - 1];
        }
        return page;
    }

    std::optional<std::uint64_t> PageOfOverflow(std::uint16_t address) const {
        const std::uint32_t split = address >> 11;
        const auto base = PageOfBucket((std::uint64_t{1} << split) - 1);
        if (!base) {
            return std::nullopt;
        }
        return *base + (address & 0x7FF);
    }

    // A page cut short by the end of the file reads as never written: its table
    // may name items that were cut off.
    DbPage PageAt(std::uint64_t page) const {
        const std::uint64_t start = page * header_.PageSize;
        const bool whole = start + header_.PageSize <= file_.size();
        return DbPage(whole ? file_.substr(start, header_.PageSize) : std::string_view(),
                      header_.PageSize, header_.BigEndianPages);
    }

    void WalkChain(std::uint64_t page) {
        // A big pair left unfinished by a broken chain is dropped, not continued here.
        bigPhase_ = BigPhase::None;
        // A page already read ends the chain: it loops, or it joins one walked before.
        while (page < pageCount_ && !visited_[page]) {
            visited_[page] = true;
            if (pageRead_) {
                pageRead_();
            }
            const DbPage contents = PageAt(page);
            std::optional<std::uint16_t> next;
            // The later pages of a big pair carry markers too; only a page met outside
            // one starts a new one.
            if (bigPhase_ == BigPhase::None && StartsBigPair(contents)) {
                bigPhase_ = BigPhase::Key;
                bigStart_ = page;
                big_ = {};
            }
            if (bigPhase_ == BigPhase::None) {
                PageTable table = ReadPageTable(contents, 1, contents.Size());
                Keep(page, table.Pairs);
                next = table.Overflow;
            } else if (!ReadBigPairPart(page, contents, next)) {
                return;
            }
            if (!next) {
                return;
            }
            const auto nextPage = PageOfOverflow(*next);
            if (!nextPage) {
                return;
            }
            page = *nextPage;
        }
    }

    // Adds this page's part of the big pair being collected, and any ordinary pairs
    // that follow it on the page. False when the page breaks the big-pair layout.
    bool ReadBigPairPart(std::uint64_t page, const DbPage& contents,
                         std::optional<std::uint16_t>& next) {
        const std::uint16_t count = contents.Word(0);
        const std::uint16_t chunkAt = contents.Word(1);
        const std::uint16_t mark = contents.Word(2);
        // The chunk lies above the table and its two trailing words, like any item.
        if (count < 2 || chunkAt < 2 * (count + 3) || chunkAt > contents.Size()) {
            return false;
        }
        if (bigPhase_ == BigPhase::Key) {
            // Partial key: the key goes on. Full key: the data starts on the next page.
            if (mark < PartialKeyMark || mark > FullKeyDataMark) {
                return false;
            }
            big_.Key += contents.Bytes(chunkAt, contents.Size());
            if (mark == FullKeyDataMark) {
                // The key ends here and its data begins right below it; the page
                // still links to the next one, where the data goes on when this
                // page was filled to the last byte.
                // Word 3 is the link to the next page and word 4 where the data begins.
                const std::uint16_t dataAt = contents.Word(4);
                if (count < 4 || dataAt < RealKeyOffset || dataAt > chunkAt) {
                    return false;
                }
                AddBigData(contents.Bytes(dataAt, chunkAt));
                next = contents.Word(3);
                // Word count + 1 is the page's free-space count.
                if (contents.Word(count + 1) == 0) {
                    bigPhase_ = BigPhase::Data;
                } else {
                    FinishBigPair();
                }
                return true;
            }
            if (mark == FullKeyMark) {
                bigPhase_ = BigPhase::Data;
            }
        } else {
            // Data pages: full key while the data goes on, full key and data at its end;
            // a partial key here would mean a second key inside the pair.
            if (mark != FullKeyMark && mark != FullKeyDataMark) {
                return false;
            }
            AddBigData(contents.Bytes(chunkAt, contents.Size()));
            if (mark == FullKeyDataMark) {
                FinishBigPair();
            }
        }
        // After the chunk's pair come the page's link and, once the big pair has ended,
        // ordinary pairs stored after it; their first key ends where the chunk starts.
        PageTable rest = ReadPageTable(contents, 3, chunkAt);
        Keep(page, rest.Pairs);
        next = rest.Overflow;
        // A big pair whose key or data goes on needs a next page.
        return next.has_value() || bigPhase_ == BigPhase::None;
    }

    void AddBigData(std::string_view part) {
        if (big_.Data.empty()) {
            big_.DataOffset = OffsetInFile(file_, part);
        }
        big_.Data += part;
    }

    // A big pair is the first pair of the page it starts on, so it is that page's oldest.
    void FinishBigPair() {
        auto& onPage = byPage_[bigStart_];
        onPage.insert(onPage.begin(),
                      pairs_.Keep(std::move(big_.Key), std::move(big_.Data), big_.DataOffset));
        big_ = {};
        bigPhase_ = BigPhase::None;
    }

    void Keep(std::uint64_t page, const std::vector<DbPair>& pairs) {
        auto& onPage = byPage_[page];
        for (DbPair pair : pairs) {
            pair.DataOffset = OffsetInFile(file_, pair.Data);
            onPage.push_back(pair);
        }
    }

    std::string_view file_;
    const HashHeader& header_;
    const std::function<void()>& pageRead_;
    std::uint64_t pageCount_;
    std::vector<bool> visited_;
    std::map<std::uint64_t, std::vector<DbPair>> byPage_;
    BigPhase bigPhase_ = BigPhase::None;
    std::uint64_t bigStart_ = 0;
    BigPair big_;       // the big pair being collected
    DbPairList pairs_;  // keeps the big pairs' joined bytes, then the result
};

// Every whole page after the first, each read through its own table alone.
DbPairList ReadPageByPage(std::string_view file, std::uint32_t pageSize,
                          const std::function<void()>& pageRead) {
    DbPairList pairs;
    for (std::uint64_t start = pageSize; start + pageSize <= file.size(); start += pageSize) {
        if (pageRead) {
            pageRead();
        }
        // Without a header the byte order is unknown: little-endian, as any PC wrote it.
        const DbPage page(file.substr(start, pageSize), pageSize, false);
        // A big pair's chunks cannot be joined without its chain; its pages are passed over.
        if (StartsBigPair(page)) {
            continue;
        }
        const PageTable table = ReadPageTable(page, 1, pageSize);
        for (auto it = table.Pairs.rbegin(); it != table.Pairs.rend(); ++it) {
            DbPair pair = *it;
            pair.DataOffset = OffsetInFile(file, pair.Data);
            pairs.Add(pair);
        }
    }
    return pairs;
}

}  // namespace

std::optional<HashHeader> ReadHashHeader(std::string_view file) {
    const ByteReader reader(file);
    const auto magic = reader.U32BE(0);
    const auto version = reader.U32BE(4);
    const auto order = reader.U32BE(8);
    const auto pageSize = reader.U32BE(12);
    const auto maxBucket = reader.U32BE(40);
    const auto headerPages = reader.U32BE(60);
    // A damaged or forged header must not steer the walk; it sends the file to the
    // page-by-page reading. 32768 is the largest page the browser makes (Unix block size).
    if (!magic || *magic != HashMagic || !version || *version != HashVersion || !order ||
        (*order != LittleEndianOrder && *order != BigEndianOrder) || !pageSize || *pageSize < 256 ||
        *pageSize > 32768 || (*pageSize & (*pageSize - 1)) != 0 || !maxBucket || !headerPages ||
        *headerPages == 0 || *headerPages > 64) {
        return std::nullopt;
    }
    HashHeader header;
    header.BigEndianPages = *order == BigEndianOrder;
    header.PageSize = *pageSize;
    header.HeaderPages = *headerPages;
    header.MaxBucket = *maxBucket;
    // The 32 spares follow at offset 68; a file too short to hold them all is no header.
    for (std::size_t i = 0; i < header.Spares.size(); ++i) {
        const auto spare = reader.U32BE(68 + 4 * i);
        if (!spare) {
            return std::nullopt;
        }
        header.Spares[i] = *spare;
    }
    return header;
}

std::uint32_t GuessPageSize(std::string_view file) {
    if (file.size() < 2 * SmallPageSize) {
        return LargePageSize;
    }
    // With 4096-byte pages block 1 is bucket 0's page, its table at the start. With
    // 16384-byte pages it lies in the header page's tail, which is never written.
    const std::string_view block1 = file.substr(SmallPageSize, 51);
    return block1.find_first_not_of('\0') != std::string_view::npos ? SmallPageSize : LargePageSize;
}

DbPair DbPairList::Keep(std::string key, std::string data, std::uint64_t dataOffset) {
    joined_.push_back(std::move(key));
    const std::string_view keyView = joined_.back();
    joined_.push_back(std::move(data));
    return {keyView, joined_.back(), dataOffset};
}

DbPairList ReadDbPairs(std::string_view file, const std::function<void()>& pageRead) {
    if (const auto header = ReadHashHeader(file)) {
        return ChainWalk(file, *header, pageRead).LivePairs();
    }
    return ReadPageByPage(file, GuessPageSize(file), pageRead);
}

}  // namespace arkivo
