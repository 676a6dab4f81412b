#pragma once

#include <string>

namespace arkivo {

// The directory of the running executable, with a trailing separator. Files that
// ship beside the program (images/, help/, MIMETYPE.DAT) are looked up there.
std::string ProgramDir();

// Where the files that ship with the program (images/, help/) are: "../share/arkivo/"
// beside the program's directory when that exists, the program directory itself
// otherwise (a build tree, an unpacked copy).
std::string ProgramDataDir();

// Whether the program is installed, as its layout tells (its data in
// ../share/arkivo/), whatever the permissions: an installed program never writes
// beside itself, whoever runs it, root included.
bool IsInstalledProgram();

// Replaces the program directory (tests, and tools that act for an installed program).
void SetProgramDirForTesting(std::string dir);

}  // namespace arkivo
