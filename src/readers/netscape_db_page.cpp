#include "readers/netscape_db_page.h"

namespace arkivo {

std::uint16_t DbPage::PageWord(std::uint32_t offset) const {
    if (offset >= size_ || size_ - offset < 2) {
        return 0;
    }
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
    if (count == 0 || tableEnd > page.Size() || boundary > page.Size()) {
        return table;
    }
    for (std::uint32_t i = firstIndex; i + 1 <= count; i += 2) {
        const std::uint16_t keyAt = page.Word(i);
        const std::uint16_t dataAt = page.Word(i + 1);
        if (dataAt == OverflowPageMark) {
            if (i + 1 == count) {
                table.Overflow = keyAt;
            }
            break;
        }
        const bool inOrder =
            dataAt >= RealKeyOffset && tableEnd <= dataAt && dataAt <= keyAt && keyAt <= boundary;
        if (!inOrder || table.Pairs.size() >= MaxPairsPerPage) {
            break;
        }
        table.Pairs.push_back({page.Bytes(keyAt, boundary), page.Bytes(dataAt, keyAt)});
        boundary = dataAt;
    }
    return table;
}

bool StartsBigPair(const DbPage& page) {
    const std::uint16_t mark = page.Word(2);
    return page.Word(0) >= 2 && mark >= PartialKeyMark && mark <= FullKeyDataMark;
}

}  // namespace arkivo
