#pragma once
// The start of ArkivoNav and ArkivoIE: one routine, the edition fixed by each
// program's main.

#include "model/edition.h"

namespace arkivo {

// Runs the program: the program directory, the content types, the single-instance
// check (a later start raises the first instance's window and ends at once), the
// help file, the main window, the Properties dialog, and the event loop until
// File > Exit. Returns the exit status.
int RunProgram(Edition edition, int argc, char** argv);

}  // namespace arkivo
