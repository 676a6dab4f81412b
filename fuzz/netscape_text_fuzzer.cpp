// The text index of Navigator 1.x ("FAT").

#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "readers/netscape_text_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    arkivo::ReadTextIndex(
        arkivo::fuzz::AsText(data, size), [](const arkivo::NetscapeEntry&) {}, [] {});
    return 0;
}
