#pragma once
// How the items command prints items: aligned text columns (date, type, URL, cached
// file) under a heading line, or one JSON object a line:
//   {"url", "domain", "kind", "type", "group", "date", "file"}
// with the date as local ISO 8601 (YYYY-MM-DDTHH:MM:SS).

#include <string>

#include "model/cache_item.h"

namespace arkivo::cli {

std::string ItemsAsText(const TCacheItemList& items);
std::string ItemsAsJson(const TCacheItemList& items);

// The day count as YYYY-MM-DDTHH:MM:SS (separator 'T') or with a space.
std::string IsoDate(double date, char separator);

}  // namespace arkivo::cli
