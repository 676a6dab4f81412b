#include "readers/netscape_db_page.h"

namespace arkivo {

std::uint16_t DbPage::PageWord(std::uint32_t offset) const {
    // Tested as a difference so that an offset near 2^32 cannot wrap around.
    if (offset >= size_ || size_ - offset < 2) {
        return 0;
    }
    // A never-written page has no bytes and gives zeros for every word.
    const auto byteAt = [this](std::uint32_t o) -> std::uint16_t {
        return o < bytes_.size() ? static_cast<std::uint8_t>(bytes_[o]) : 0;
    };
    const std::uint16_t first = byteAt(offset);
    const std::uint16_t second = byteAt(offset + 1);
    return bigEndian_ ? static_cast<std::uint16_t>(first << 8 | second)
                      : static_cast<std::uint16_t>(second << 8 | first);
}

std::string_view DbPage::Bytes(std::uint32_t from, std::uint32_t to) const {
    if (from > to || to > bytes_.size()) {
        return {};
    }
    return bytes_.substr(from, to - from);
}

PageTable ReadPageTable(const DbPage& page, std::uint32_t firstIndex, std::uint32_t boundary) {
    PageTable table;
    const std::uint32_t count = page.Word(0);
    // The table, its free-space word and its item-area word must fit the page, and
    // every item lies above them.
    const std::uint32_t tableEnd = 2 * (count + 3);
    // A bitmap page, met when pages are read without the chains, fails here: its first
    // word (0xFFFD when fresh) claims a table longer than any page.
    if (count == 0 || tableEnd > page.Size() || boundary > page.Size()) {
        return table;
    }
    // Pairs oldest first, so items are met from the page end down; a key word whose
    // data word lies past the count is no pair.
    for (std::uint32_t i = firstIndex; i + 1 <= count; i += 2) {
        const std::uint16_t keyAt = page.Word(i);
        const std::uint16_t dataAt = page.Word(i + 1);
        if (dataAt == OverflowPageMark) {
            // A link anywhere but in the last pair breaks the layout: the chain ends here.
            if (i + 1 == count) {
                table.Overflow = keyAt;
            }
            break;
        }
        // Items grow down from the page end, so each pair lies above the table and below
        // the one before it. A marker here (data word 1 to 3) is out of place: only the
        // big-pair reader accepts one, and only in the first pair.
        const bool inOrder =
            dataAt >= RealKeyOffset && tableEnd <= dataAt && dataAt <= keyAt && keyAt <= boundary;
        // The cap holds even for a well-ordered table: empty items take no room, so a
        // forged page could otherwise give thousands of pairs.
        if (!inOrder || table.Pairs.size() >= MaxPairsPerPage) {
            break;
        }
        // The page does not know where it lies in the file; ReadDbPairs places the data.
        table.Pairs.push_back({page.Bytes(keyAt, boundary), page.Bytes(dataAt, keyAt), 0});
        // The next, newer pair's key ends where this data starts.
        boundary = dataAt;
    }
    return table;
}

bool StartsBigPair(const DbPage& page) {
    // Word 2 is the first pair's data word only when the table has a whole pair;
    // otherwise it is one of the two words that end the table.
    const std::uint16_t mark = page.Word(2);
    return page.Word(0) >= 2 && mark >= PartialKeyMark && mark <= FullKeyDataMark;
}

}  // namespace arkivo
