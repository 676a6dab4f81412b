#include "archiver/offline_index.h"

#include <unistd.h>

#include "platform/path.h"

namespace arkivo {

void BuildOfflineIndex(const std::string& archiveDir, const TCacheItemList& /*archiveList*/,
                       const IndexProgress& /*progress*/) {
    // The old frameset would list a stale state of the archive: remove it first.
    ::unlink(JoinPath(archiveDir, IndexPageName).c_str());
}

}  // namespace arkivo
