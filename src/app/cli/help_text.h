#pragma once
// The texts --help prints: the overview of every command, or one command's options.

#include <optional>
#include <string>

#include "cli_arguments.h"

namespace arkivo::cli {

// The overview without a topic, else the help of that command.
std::string UsageText(std::optional<Action> topic);

}  // namespace arkivo::cli
