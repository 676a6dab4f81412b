// Registry files, REGEDIT4 and Wine's: parsed, written back and parsed again.

#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "platform/registry_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = arkivo::RegistryFile::Parse(arkivo::fuzz::AsText(data, size));
    for (const auto& key : file.Keys()) {
        for (const auto& value : key.Values) {
            (void)file.StringValue(key.Path, value.Name);
        }
    }
    (void)arkivo::RegistryFile::Parse(file.ToRegedit4());
    return 0;
}
