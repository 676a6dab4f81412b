#pragma once
// The web archives of an archive directory. An archive run that is asked to also
// writes the items it archived, with the bytes the cache holds, as a web archive
// into the folder "web+archive" of the archive directory: a name no domain folder
// can take ("+" never survives in one) and none of the archive's own files has.
//
// The folder holds one WARC file per run, "arkivo-YYYYMMDDThhmmssZ.warc.gz" after
// the run's time in UTC ("-2", "-3", ... before ".warc.gz" when that name is taken),
// and "index.cdxj", the CDXJ index of every WARC file in it: its lines name their
// WARC file, and a line whose file is no longer there is dropped when the index
// is next written.

#include <cstdint>
#include <string>
#include <vector>

#include "model/cache_item.h"
#include "platform/status.h"
#include "webarchive/web_archive_export.h"

namespace arkivo {

inline constexpr const char* WebArchiveFolderName = "web+archive";
inline constexpr const char* WebArchiveIndexName = "index.cdxj";

struct FolderWebArchive {
    WebArchiveExport Export;  // what the WARC holds, what was skipped, whether cancelled
    std::string WarcPath;     // the WARC file written; empty when none was kept
    Status Error;             // the folder, the WARC or the index could not be written
};

// Writes items as a new WARC file into archiveDir's web archive folder, made and
// opened beneath archiveDir, and rewrites the folder's index. An index that exists
// but cannot be read stops the step before anything is written, so that no WARC is
// left out of it; a failed or cancelled export leaves the index as it was. The
// caller holds the archive directory's lock.
FolderWebArchive WriteFolderWebArchive(const std::string& archiveDir,
                                       const std::vector<const TCacheItem*>& items,
                                       const WarcSource& source, std::int64_t now,
                                       const ExportProgress& progress);

}  // namespace arkivo
