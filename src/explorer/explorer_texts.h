#pragma once
// The Cache Explorer's own texts and the small rules its window follows that do not
// belong to the domain grouping: where the selection lands after a move, and how
// items that could not be deleted are reported.

#include <cstddef>
#include <string>

namespace arkivo {

inline constexpr const char* ReadingCacheText = "Processing cache index. Please wait.";
inline constexpr const char* DeletingItemsText = "Deleting items. Please wait";
inline constexpr const char* NoFilesFoundText = "No files found.";

// The entry a list selects after entries left it: the index of the first entry that
// was selected (-1: none, taken as 0), clamped to the last entry; -1 when the list
// is empty.
int SelectionAfterMove(int firstSelected, int count);

// "1 item could not be deleted." or "N items could not be deleted.".
std::string NotDeletedText(std::size_t count);

}  // namespace arkivo
