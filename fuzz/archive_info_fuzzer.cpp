// archive.dat as loaded for searching and archiving.

#include <cstddef>
#include <cstdint>

#include "archive/archive_info.h"
#include "fuzz_scratch.h"
#include "model/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = arkivo::fuzz::ScratchDir() + "archive.dat";
    arkivo::fuzz::WriteBytes(path, arkivo::fuzz::AsText(data, size));
    try {
        (void)arkivo::LoadArchiveInfo(path);
    } catch (const arkivo::StreamError&) {
    }
    return 0;
}
