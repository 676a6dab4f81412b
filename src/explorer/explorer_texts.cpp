#include "explorer/explorer_texts.h"

#include <algorithm>

namespace arkivo {

std::string ChooseCacheQuestion(Edition edition) {
    return edition == Edition::IE ? "Do you want to choose the Internet Explorer cache folder on "
                                    "the Browser tab of the Properties now?"
                                  : "Do you want to choose the Netscape cache index path on the "
                                    "Browser tab of the Properties now?";
}

int SelectionAfterMove(int firstSelected, int count) {
    if (count <= 0) {
        return -1;
    }
    return std::clamp(firstSelected, 0, count - 1);
}

std::string DeletionCountsText(std::size_t deleted, std::size_t marked, std::size_t notDeleted) {
    return std::to_string(deleted) + (deleted == 1 ? " item" : " items") + " deleted, " +
           std::to_string(marked) + " marked for deletion (files still on disk), " +
           std::to_string(notDeleted) + " not deleted";
}

}  // namespace arkivo
