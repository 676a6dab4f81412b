// The picture-size reader (GIF and JFIF headers), fed from memory.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "offline_index/image_size.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = arkivo::fuzz::AsText(data, size);
    (void)arkivo::ImageSizeOf([bytes](std::uint64_t offset, std::size_t count) {
        if (offset >= bytes.size()) {
            return std::string();
        }
        return std::string(bytes.substr(offset, count));
    });
    return 0;
}
