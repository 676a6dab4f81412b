// A whole Navigator cache index read from disk, text or FAT.DB, into cache items.

#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "model/content_types.h"
#include "readers/netscape_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool typesLoaded = [] {
        arkivo::LoadMimeTypes(arkivo::fuzz::ScratchDir() + "types");
        return true;
    }();
    (void)typesLoaded;
    const std::string path = arkivo::fuzz::ScratchDir() + "FAT.DB";
    arkivo::fuzz::WriteBytes(path, arkivo::fuzz::AsText(data, size));
    arkivo::TCacheItemList items;
    (void)arkivo::ReadCacheIndex(path, items);
    return 0;
}
