#pragma once
// arkivo warc: the chosen items as a web archive (WARC, CDXJ index, WACZ package).

#include "cli_arguments.h"

namespace arkivo::cli {

// Returns the exit status.
int ExportChosenItems(const CliArguments& arguments);

}  // namespace arkivo::cli
