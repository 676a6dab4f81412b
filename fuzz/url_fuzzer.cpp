// Both URL families, the file-name helpers, link resolution and names made from URLs.

#include <cstddef>
#include <cstdint>

#include "archiver/archive_names.h"
#include "fuzz_scratch.h"
#include "model/content_types.h"
#include "model/url.h"
#include "rewriter/link_resolution.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = arkivo::fuzz::AsText(data, size);

    std::string url(text);
    (void)arkivo::SplitHost(url);
    (void)arkivo::SplitPort(url);
    (void)arkivo::SplitPath(url);
    (void)arkivo::CanonicalUrl(text);

    std::string shortUrl(text);
    (void)arkivo::SplitHostShort(shortUrl);
    (void)arkivo::SplitPortShort(shortUrl);
    (void)arkivo::SplitPathShort(shortUrl);
    (void)arkivo::CanonicalUrlShort(text);

    (void)arkivo::TrimUrl(text);
    (void)arkivo::LastPathSegment(text);
    (void)arkivo::FileNameSafe(text);

    // The first half as a link on the page whose address is the second half.
    const std::string_view link = text.substr(0, text.size() / 2);
    (void)arkivo::ResolveLink(link, arkivo::LinkBase(text.substr(text.size() / 2)));

    static const arkivo::TExtensionTable extensions = arkivo::BuildExtensionTable();
    (void)arkivo::NameFromUrl(text, static_cast<int>(size % 80), extensions);
    return 0;
}
