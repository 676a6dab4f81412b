#pragma once
// The items of the chosen source and the Cache Explorer's choice over them: the
// domains grouped under the age window, the domains not asked for moved to
// "Available Domains", and the type switches. The age window is fixed once, when
// the command starts.

#include "cli_arguments.h"
#include "explorer/domain_grouping.h"
#include "model/cache_item.h"

namespace arkivo::cli {

struct CacheSelection {
    TCacheItemList Items;
    DomainGrouping Grouping;
    TypeSwitches Switches;
    bool AllAges = true;
};

// Reads the source into items: Success, or the exit status after a message.
int ReadItems(const SourceChoice& source, TCacheItemList& items);

// Reads the source and applies the filters: Success, or the exit status after a
// message (NothingToDo for a cache without items).
int SelectItems(const CliArguments& arguments, CacheSelection& selection);

}  // namespace arkivo::cli
