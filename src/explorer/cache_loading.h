#pragma once
// Reading the browser cache for the Cache Explorer with the edition's reader:
// ArkivoNav reads the index at the chosen cache index path, ArkivoIE the IE cache
// (the one ARKIVO_IE_CACHE names, else the one chosen in the Properties, else the
// Wine profile's). The outcome tells the window how to react: ArkivoNav closes when
// its index cannot be opened (the reader has shown its warning); when there is no
// cache at the chosen place the window says why and offers the cache setting;
// ArkivoIE says that no files were found in a cache without items.

#include <functional>
#include <string>

#include "model/cache_item.h"
#include "model/edition.h"

namespace arkivo {

enum class CacheLoadOutcome {
    Read,        // items holds what the cache gave
    CannotOpen,  // ArkivoNav: the index could not be opened
    NoCache,     // no cache where the setting points (or none found); the reason is in Error
    NoItems,     // ArkivoIE: no usable item was found
    Failed,      // an opened cache could not be read; the text is in Error
};

struct CacheLoad {
    CacheLoadOutcome Outcome = CacheLoadOutcome::Read;
    std::string Error;
};

// Appends the cache's items to items. chosenCache is the setting of the
// Properties: ArkivoNav's index path, ArkivoIE's cache folder or index (empty:
// none). handlePendingMessages runs now and then while a large index is read.
CacheLoad LoadCache(Edition edition, const std::string& chosenCache, TCacheItemList& items,
                    const std::function<void()>& handlePendingMessages);

}  // namespace arkivo
