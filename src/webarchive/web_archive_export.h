#pragma once
// Writes chosen cache items as a web archive: a .warc.gz file, a WACZ package
// holding the same WARC, or both, in one pass over the cached files. Each output
// is written under a temporary name beside its target and renamed only once it is
// complete, so a failed or cancelled export leaves nothing under the target names.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/cache_item.h"
#include "platform/status.h"
#include "webarchive/warc_writer.h"

namespace arkivo {

// One output: the file name in an open directory, and the path messages show.
struct ExportTarget {
    int DirFd = -1;
    std::string Name;
    std::string ShownPath;
};

struct WebArchiveTargets {
    std::optional<ExportTarget> Warc;
    std::optional<ExportTarget> Wacz;
    std::string WarcName;  // the WARC's file name, as the index and the package name it
};

struct WebArchiveExport {
    std::size_t Written = 0;
    std::size_t Skipped = 0;  // items whose cached file could not be read
    std::string FirstSkip;    // why the first of them was skipped
    bool Cancelled = false;
    Status Error;                        // the export failed or was cancelled: no output was kept
    std::vector<std::string> CdxjLines;  // sorted
};

// Called after each item with the number done; false cancels the export.
using ExportProgress = std::function<bool(std::size_t done)>;

WebArchiveExport ExportWebArchive(const std::vector<const TCacheItem*>& items,
                                  const WarcSource& source, const WebArchiveTargets& targets,
                                  std::int64_t now, const ExportProgress& progress = {});

}  // namespace arkivo
