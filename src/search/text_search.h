#pragma once
// Finding a text in an archived page, letter case ignored (A to Z only, as the rest
// of the search folds it).
//
// The page is read block by block and the search stops at the first block that
// completes a match, so a page that holds the text early is never read whole. A
// match may lie anywhere in the file: across the border of two blocks, and after a
// zero byte (pages saved with stray NULs are still searched to their end). A match
// never includes a zero byte.

#include <string>
#include <string_view>

namespace arkivo {

enum class TextSearchResult {
    Found,
    NotFound,
    Unreadable,  // the file could not be opened or read
};

// The bytes read from a page at a time.
inline constexpr std::size_t TextSearchBlockSize = 64 * 1024;

// Looks for text (its letters A to Z in either case match both cases) in the file at
// path beneath root (platform/rooted_files.h). An empty text is found in every
// readable file.
TextSearchResult SearchTextInFile(std::string_view text, const std::string& root,
                                  const std::string& path);

// Turns the letters A to Z into a to z in place; every other byte stays.
void FoldCase(char* bytes, std::size_t count);

}  // namespace arkivo
