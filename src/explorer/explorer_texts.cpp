#include "explorer/explorer_texts.h"

#include <algorithm>

namespace arkivo {

int SelectionAfterMove(int firstSelected, int count) {
    if (count <= 0) {
        return -1;
    }
    return std::clamp(firstSelected, 0, count - 1);
}

std::string NotDeletedText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " item" : " items") + " could not be deleted.";
}

}  // namespace arkivo
