#pragma once
// arkivo domains: the chosen domains with their counts of chosen text, media and
// other items, in the order the Cache Explorer's lists show them (alphabetical,
// letter case ignored). As text: aligned columns under a heading line; with
// --json one object a line: {"domain", "text", "media", "other"}.

#include "cli_arguments.h"

namespace arkivo::cli {

// The exit status of the command.
int ListDomains(const CliArguments& arguments);

}  // namespace arkivo::cli
