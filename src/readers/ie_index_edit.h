#pragma once
// The two changes deleting entries makes to an index.dat held in bytes. Both take
// records of a sound index (ParseIndexFile found no damage in bytes) and leave the
// index sound; the file keeps its size.

#include <cstdint>
#include <string>
#include <unordered_set>

#include "readers/ie_index_file.h"

namespace arkivo {

// Turns the live record into a LEAK record (an entry to be deleted) at the head of
// the LEAK chain: its hash slot is marked deleted, so it is no longer listed, while
// its blocks stay allocated and every counter stays as it is, so its file remains
// counted until the record is freed.
void LeakUrlRecord(std::string& bytes, const IeUrlRecord& record);

// Frees the LEAK records of index (parsed from bytes) at the given offsets, whose
// cached files are gone: takes them out of the LEAK chain, clears their blocks in the
// bitmap and zeroes them (so the old entry cannot be recovered from freed space), and
// lowers the allocated block count by their blocks, their directory's file count by
// one, the cache usage (exempt usage for a sticky entry) and their group's disk usage
// by their size, none of them below 0.
void FreeLeakRecords(std::string& bytes, const IeIndex& index,
                     const std::unordered_set<std::uint32_t>& offsets);

}  // namespace arkivo
