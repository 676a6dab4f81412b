#pragma once
// What a search is started with: the checks made before it runs, their messages,
// and the search texts and directory as the search uses them. The search window's
// Find button and `arkivo search` make the same checks in the same order.

#include <string>
#include <string_view>

namespace arkivo {

// The user's message when a search found nothing (also after a stop or a read error).
inline constexpr std::string_view NoFilesFoundText = "No files found.";

enum class SearchInputCheck {
    Ok,
    NoSearchText,   // both texts empty
    NoDirectory,    // the directory text names no directory
    NoArchiveInfo,  // the directory holds no archive.dat
};

// The first check the input fails, in the order the texts, the directory, its
// archive.dat.
SearchInputCheck CheckSearchInput(std::string_view urlText, std::string_view pageText,
                                  const std::string& directoryText);

// The message for a failed check (CR LF line breaks; directoryText is named in it
// when the directory is missing); empty for Ok.
std::string SearchInputMessage(SearchInputCheck check, std::string_view directoryText);

// The directory a search reads: the text cut to 255 characters, with a trailing
// separator.
std::string SearchDirectoryOf(std::string_view directoryText);

// A search text as the search compares it: cut to 255 characters, A to Z folded
// to lower case.
std::string SearchTextOf(std::string_view text);

}  // namespace arkivo
