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

TEST(NotDeletedTextTest, SaysHowManyItemsStayInTheCache) {
    EXPECT_EQ(NotDeletedText(1), "1 item could not be deleted.");
    EXPECT_EQ(NotDeletedText(12), "12 items could not be deleted.");
}

}  // namespace
}  // namespace arkivo
