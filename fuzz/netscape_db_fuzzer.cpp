// FAT.DB: the hash-file walk, the page tables and the cache records of every pair.

#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "readers/netscape_db_file.h"
#include "readers/netscape_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto pairs = arkivo::ReadDbPairs(arkivo::fuzz::AsText(data, size), [] {});
    for (const auto& pair : pairs) {
        (void)arkivo::ParseCacheEntry(pair.Key, pair.Data);
    }
    return 0;
}
