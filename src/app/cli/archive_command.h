#pragma once
// arkivo archive: archives the chosen items into the archive directory (--to, else
// the stored one, created with its parents when missing) with the stored link
// options as the flags change them. Progress goes to standard error; Ctrl+C
// cancels after the current item, keeping what was archived. The last line on
// standard output names the number of items archived and the index page.

#include "cli_arguments.h"

namespace arkivo::cli {

// The exit status of the command.
int ArchiveChosenItems(const CliArguments& arguments);

}  // namespace arkivo::cli
