#pragma once
// Reading the items of the source the command line chose. Every command reads its
// source through ReadSource, so each source has one way in.

#include "cli_arguments.h"
#include "model/cache_item.h"
#include "model/edition.h"
#include "platform/status.h"

namespace arkivo::cli {

// The program edition whose cache the source is: the settings and the deletion
// that go with it follow that edition.
Edition EditionOf(SourceKind kind);

// Appends the source's items to items. NotFound or Unreadable when the source is missing or cannot
// be read.
Status ReadSource(const SourceChoice& source, TCacheItemList& items);

}  // namespace arkivo::cli
