#include "explorer/cache_loading.h"

#include "readers/ie_cache_location.h"
#include "readers/ie_cache_reader.h"
#include "readers/netscape_index.h"

namespace arkivo {

CacheLoad LoadCache(Edition edition, const std::string& chosenCache, TCacheItemList& items,
                    const std::function<void()>& handlePendingMessages) {
    CacheLoad load;
    if (edition == Edition::Nav) {
        const CacheIndexRead read = ReadCacheIndex(chosenCache, items, handlePendingMessages);
        if (!read.Opened) {
            load.Outcome = CacheLoadOutcome::CannotOpen;
        } else if (!read.Error.ok()) {
            load.Outcome = read.Error.code() == StatusCode::Malformed ? CacheLoadOutcome::NoCache
                                                                      : CacheLoadOutcome::Failed;
            load.Error = read.Error.message();
        }
        return load;
    }
    Status status;
    const bool anyItem = ReadUrlCache(DefaultIeCache(chosenCache), items, &status);
    if (!status.ok()) {
        load.Outcome = CacheLoadOutcome::NoCache;
        load.Error = status.message();
    } else if (!anyItem) {
        load.Outcome = CacheLoadOutcome::NoItems;
    }
    return load;
}

}  // namespace arkivo
