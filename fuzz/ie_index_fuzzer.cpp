// Internet Explorer's index.dat.

#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "readers/ie_index_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    arkivo::IeIndex index;
    (void)arkivo::ParseIndexFile(arkivo::fuzz::AsText(data, size), index);
    return 0;
}
