#pragma once
// Finding a text in bytes with the letters A to Z of the bytes taken as a to z, in
// one pass and without changing the bytes: the page search reads hundreds of
// megabytes, so folding every block and then searching it would cost a second pass.

#include <cstddef>
#include <string_view>

namespace arkivo {

// True when foldedText occurs in bytes[0, size) once the bytes' letters A to Z are
// folded to a to z. foldedText must itself be folded already; an empty text is
// found everywhere.
bool FindFolded(const char* bytes, std::size_t size, std::string_view foldedText);

}  // namespace arkivo
