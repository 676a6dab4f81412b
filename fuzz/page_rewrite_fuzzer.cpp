// The archived copy of a page (every link rewritten) and its title.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "archive/archive_link_map.h"
#include "fuzz_scratch.h"
#include "rewriter/page_rewriter.h"
#include "rewriter/page_title.h"

namespace {

// Two archived pages on the page's own host, so some links map into the archive.
struct Archive {
    arkivo::TCacheItemList list;
    std::vector<arkivo::TCacheItem*> job;
    std::unique_ptr<arkivo::ArchiveLinkMap> map;

    Archive() {
        for (const char* name : {"index.html", "a/b.htm"}) {
            auto item = std::make_unique<arkivo::TCacheItem>();
            item->Url = std::string("http://host:80/") + name;
            item->Domain = "host";
            item->ArchiveName = "x.htm";
            item->Kind = 1;
            job.push_back(item.get());
            list.push_back(std::move(item));
        }
        map = std::make_unique<arkivo::ArchiveLinkMap>(job, list);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Archive archive;
    const std::string_view page = arkivo::fuzz::AsText(data, size);
    arkivo::LinkOptions options;
    options.EmphasizeLinks = size % 2 == 0;
    options.ShowOriginalUrls = size % 3 == 0;
    (void)arkivo::RewritePageText(page, "http://host:80/dir/page.htm", options, *archive.map);
    (void)arkivo::ExtractTitle(page);
    return 0;
}
