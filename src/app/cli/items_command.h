#pragma once
// arkivo items: every item of the cache in the order the reader met it.

#include "cli_arguments.h"

namespace arkivo::cli {

// The exit status of the command.
int ListItems(const CliArguments& arguments);

}  // namespace arkivo::cli
