#pragma once

#include <string>

namespace arkivo {

// The directory of the running executable, with a trailing separator. Files that
// ship beside the program (images/, help/, MIMETYPE.DAT) are looked up there.
std::string ProgramDir();

// Replaces the program directory (tests, and tools that act for an installed program).
void SetProgramDirForTesting(std::string dir);

}  // namespace arkivo
