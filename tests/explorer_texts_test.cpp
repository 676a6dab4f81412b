#include "explorer/explorer_texts.h"

#include <gtest/gtest.h>

namespace arkivo {
namespace {

TEST(SelectionAfterMoveTest, KeepsTheIndexOfTheFirstSelectedEntry) {
    EXPECT_EQ(SelectionAfterMove(2, 5), 2);
    EXPECT_EQ(SelectionAfterMove(0, 1), 0);
}

TEST(SelectionAfterMoveTest, NoSelectionTakesTheFirstEntry) {
    EXPECT_EQ(SelectionAfterMove(-1, 3), 0);
}

TEST(SelectionAfterMoveTest, AnIndexBeyondTheEndTakesTheNewLastEntry) {
    EXPECT_EQ(SelectionAfterMove(4, 4), 3);
    EXPECT_EQ(SelectionAfterMove(9, 2), 1);
}

TEST(SelectionAfterMoveTest, AnEmptyListSelectsNothing) {
    EXPECT_EQ(SelectionAfterMove(0, 0), -1);
    EXPECT_EQ(SelectionAfterMove(-1, 0), -1);
}

TEST(DeletionCountsTextTest, CountsEachStateTheItemsReached) {
    EXPECT_EQ(DeletionCountsText(16, 6, 0),
              "16 items deleted, 6 marked for deletion (files still on disk), 0 not deleted");
    EXPECT_EQ(DeletionCountsText(1, 0, 2),
              "1 item deleted, 0 marked for deletion (files still on disk), 2 not deleted");
}

}  // namespace
}  // namespace arkivo
