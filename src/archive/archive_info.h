#pragma once
// The archive info file: "archive.dat" in each archive directory lists every item
// archived there, as a plain sequence of cache-item records (model/cache_item.h) with
// no header, count or trailer; a missing file is an empty list. An entry's archived
// copy lives at archive directory + Domain + "/" + folder + "/" + ArchiveName, Domain
// being recomputed on reading from the host of its Url.
//
// A run reads the list first (dropping entries whose copy is gone, or whose names
// are not safe path components), looks names up in it, merges each archived item
// into it and writes it back at the end. Writing goes to "archive.tmp", which is
// synced and renamed over "archive.dat" in one step, so the file is never torn and
// never absent while a list exists. The type table its codes stand for is written
// just before it (archive/archive_types.h), and read with it.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "archive/used_names.h"
#include "model/cache_item.h"
#include "platform/status.h"

namespace arkivo {

inline constexpr std::string_view ArchiveInfoFileName = "archive.dat";
inline constexpr std::string_view ArchiveInfoTempName = "archive.tmp";

class TArchiveList {
  public:
    // Reads archiveDir's archive.dat (if any), drops entries whose copy is missing,
    // adds the survivors' names to usedNames, makes sure the directory exists and
    // holds the icons. A file that exists but cannot be read is an error: a run
    // must not go on and later replace it with a shorter list.
    Status ReadArchiveInfo(const std::string& archiveDir, UsedNames& usedNames);

    // The ArchiveName of the first entry whose Url equals url byte for byte.
    std::optional<std::string> FindArchivedName(std::string_view url) const;

    // Updates the first entry with the item's Url in place, or appends a new one.
    void MergeArchived(const TCacheItem& item);

    // Writes the list to archive.dat through archive.tmp (an empty list deletes
    // archive.dat) and empties the list. On failure archive.dat is left as it was.
    Status WriteArchiveInfo(const std::string& archiveDir);

    const TCacheItemList& Entries() const { return entries_; }
    std::size_t Count() const { return entries_.size(); }

  private:
    void Reindex();

    TCacheItemList entries_;
    std::unordered_map<std::string, std::size_t> firstByUrl_;
};

// Loads every record of an archive.dat (no pruning), with Domain recomputed from
// each Url and Kind turned into a code of MimeTypes through the archive's own type
// table. Throws StreamError when the file cannot be read or a type of that table
// cannot be recorded.
TCacheItemList LoadArchiveInfo(const std::string& filePath);

}  // namespace arkivo
