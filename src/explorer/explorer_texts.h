#pragma once
// The Cache Explorer's own texts and the small rules its window follows that do not
// belong to the domain grouping: where the selection lands after a move, how the
// outcome of a delete is reported, and what is asked when no cache was found.

#include <cstddef>
#include <string>

#include "model/edition.h"

namespace arkivo {

inline constexpr const char* ReadingCacheText = "Processing cache index. Please wait.";
inline constexpr const char* DeletingItemsText = "Deleting items. Please wait";
inline constexpr const char* NoFilesFoundText = "No files found.";

// Asked below the reason no cache was found: offers the edition's cache setting.
std::string ChooseCacheQuestion(Edition edition);

// The entry a list selects after entries left it: the index of the first entry that
// was selected (-1: none, taken as 0), clamped to the last entry; -1 when the list
// is empty.
int SelectionAfterMove(int firstSelected, int count);

// What became of the chosen items of a delete, for example "16 items deleted,
// 6 marked for deletion (files still on disk), 0 not deleted".
std::string DeletionCountsText(std::size_t deleted, std::size_t marked, std::size_t notDeleted);

}  // namespace arkivo
