#pragma once
// The two changes deleting an entry makes to an index.dat held in bytes, the way
// WinINet makes them. Both take a record of a sound index (ParseIndexFile found no
// damage in bytes) and leave the index sound; the file keeps its size.

#include <string>

#include "readers/ie_index_file.h"

namespace arkivo {

// Frees the record whose cached file is gone: clears its blocks in the bitmap and
// zeroes them (so the old entry cannot be recovered from freed space), lowers the
// allocated block count by its blocks and its directory's file count by one, lowers
// the cache usage (exempt usage for a sticky entry) and its group's disk usage by
// its size (none of them below 0), and marks its hash slot deleted.
void FreeUrlRecord(std::string& bytes, const IeUrlRecord& record);

// Turns the record whose cached file could not be removed into a LEAK record at the
// head of the LEAK chain: its blocks stay allocated and every counter stays as it
// is, so the file remains counted; its hash slot is marked deleted.
void LeakUrlRecord(std::string& bytes, const IeUrlRecord& record);

}  // namespace arkivo
