#pragma once
// arkivo search: finds archived items in one archive directory by text in their
// URL and text in their archived HTML pages, as the search window does, and prints
// the hits in the order of archive.dat: aligned columns (class, URL, archived
// file) or one JSON object a line, {"url", "file", "class"}. Ctrl+C stops the
// search after the current item; the hits found so far are printed.

#include "cli_arguments.h"

namespace arkivo::cli {

// The exit status of the command.
int SearchArchiveDirectory(const CliArguments& arguments);

}  // namespace arkivo::cli
