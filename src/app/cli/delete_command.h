#pragma once
// arkivo delete: deletes the chosen items from the browser's cache after the Cache
// Explorer's question, answered on the terminal; --yes answers it in advance.
// Without a terminal and without --yes nothing is deleted. Prints how many items
// were deleted and how many could not be.

#include "cli_arguments.h"

namespace arkivo::cli {

// The exit status of the command.
int DeleteChosenItemsFromCache(const CliArguments& arguments);

}  // namespace arkivo::cli
