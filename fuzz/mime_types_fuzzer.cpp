// MIMETYPE.DAT loading and the table built from it.

#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "model/content_types.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& dir = arkivo::fuzz::ScratchDir();
    arkivo::fuzz::WriteBytes(dir + std::string(arkivo::MimeTypeFileName),
                             arkivo::fuzz::AsText(data, size));
    arkivo::LoadMimeTypes(dir);
    for (int code = 0; code <= arkivo::MaxContentCode; ++code) {
        (void)arkivo::ContentCodeOf(arkivo::ContentTypeOf(code));
        (void)arkivo::MajorTypeOf(code);
        (void)arkivo::FileClassOf(code);
    }
    return 0;
}
