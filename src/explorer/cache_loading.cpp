#include "explorer/cache_loading.h"

#include "readers/ie_cache_reader.h"
#include "readers/netscape_index.h"

namespace arkivo {

CacheLoad LoadCache(Edition edition, const std::string& indexPath, TCacheItemList& items,
                    const std::function<void()>& handlePendingMessages) {
    CacheLoad load;
    if (edition == Edition::Nav) {
        const CacheIndexRead read = ReadCacheIndex(indexPath, items, handlePendingMessages);
        if (!read.Opened) {
            load.Outcome = CacheLoadOutcome::CannotOpen;
        } else if (!read.Error.ok()) {
            load.Outcome = CacheLoadOutcome::Failed;
            load.Error = read.Error.message();
        }
        return load;
    }
    if (!ReadUrlCache(std::string(), items)) {
        load.Outcome = CacheLoadOutcome::NoItems;
    }
    return load;
}

}  // namespace arkivo
