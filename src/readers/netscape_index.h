#pragma once
// Reading Navigator's cache index into cache items.
//
// The index is one file in the cache directory, in one of two formats, told apart
// by its first line rather than by its name: a first line whose first 10
// characters, upper-cased, are "MCOM-CACHE" or "MOSAIC-COM" marks the text index of
// Navigator 1.x (netscape_text_index.h); anything else is read as the database
// FAT.DB of Navigator 2, 3 and 4 (netscape_db_file.h, netscape_record.h).
//
// Every entry becomes an item through the common item building, with the cached
// file taken from the index's own directory and the entry's time as its date. The
// file names an entry gives are relative to that directory; a name that would
// lead out of it (an absolute path, "..") drops the entry.
//
// The index is read whole, once; it is never written.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "model/cache_item.h"
#include "platform/status.h"

namespace arkivo {

// Shown (with an OK button) when the index cannot be opened: Navigator keeps it
// locked while it runs.
inline constexpr std::string_view CloseNetscapeWarning =
    "Please close down Netscape\r\nbefore continuing.";

struct CacheIndexRead {
    bool Opened = false;  // false: the index could not be opened and the warning was shown
    // A failure while reading an opened index (nothing was read), or Malformed when
    // the file is no cache index: neither text index nor FAT.DB, and no entry found.
    Status Error;
};

// Appends an item for every usable entry of the index at indexPath to items.
// handlePendingMessages, when set, is called once per database page and before
// every fifth text line, so a window can stay responsive.
CacheIndexRead ReadCacheIndex(const std::string& indexPath, TCacheItemList& items,
                              const std::function<void()>& handlePendingMessages = {});

// True when the first line marks the text format.
bool IsTextIndex(std::string_view indexBytes);

// The date of an entry time (seconds since 1 January 1970, no time-zone change),
// kept between 5000 days before now and now.
double SecondsToDate(std::int32_t seconds);

}  // namespace arkivo
