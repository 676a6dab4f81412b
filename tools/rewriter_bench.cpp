// Measures the HTML link rewriter's throughput.
//
// Generates pages of about 20 KB with about 20 links each (to archived pages,
// archived pictures and pages that were not archived, with the ordinary markup
// around them), an archive run of ITEMS items and an archive list of as many, and
// rewrites every page repeatedly in memory for about two seconds. A plain copy of
// the same bytes is timed in the same run as the baseline.
//
//   rewriter_bench [ITEMS] [PAGES]      (defaults: 10000 and 500)

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/content_types.h"
#include "rewriter/page_rewriter.h"
#include "tool_options.h"

namespace {

using namespace arkivo;
using Clock = std::chrono::steady_clock;

constexpr char Usage[] = "usage: rewriter_bench [ITEMS] [PAGES]   (defaults: 10000 and 500)\n";

std::string Page(int items, std::mt19937& random) {
    std::string page =
        "<HTML><HEAD><TITLE>A page of the sample site</TITLE></HEAD>\r\n<BODY BGCOLOR=white>\r\n"
        "<!-- navigation -->\r\n<TABLE WIDTH=\"100%\"><TR><TD VALIGN=top>\r\n";
    while (page.size() < 20000) {
        const auto target = static_cast<int>(random() % static_cast<unsigned>(2 * items));
        page += "<P>Some <B>text</B> about the subject of this page, with a link to ";
        switch (target % 3) {
            case 0:
                page += "<A HREF=\"/site/p" + std::to_string(target) + ".html\">a page</A>";
                break;
            case 1:
                page += "<IMG SRC=\"../site/i" + std::to_string(target) +
                        ".gif\" WIDTH=20 HEIGHT=20 ALT=\"a picture\">";
                break;
            default:
                page += "<A HREF=\"http://www.elsewhere.example/x" + std::to_string(target) +
                        ".htm#top\">another site</A>";
        }
        page += " and more words to read, <I>some in italics</I>, until the paragraph ends.\r\n";
        page += std::string(700, 'w') + "</P>\r\n";
    }
    return page + "</TD></TR></TABLE></BODY></HTML>\r\n";
}

std::unique_ptr<TCacheItem> Item(std::string url, std::string name, int kind) {
    auto item = std::make_unique<TCacheItem>();
    item->Url = std::move(url);
    item->ArchiveName = std::move(name);
    item->Kind = kind;
    item->Domain = "host";
    return item;
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
    tools::TakeNoOptions(argc, argv, "rewriter_bench", Usage);
    const int items = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int pageCount = argc > 2 ? std::atoi(argv[2]) : 500;
    if (items <= 0 || pageCount <= 0) {
        std::fputs(Usage, stderr);
        return 2;
    }
    char typesDir[] = "/tmp/rewriter-bench-XXXXXX";
    if (::mkdtemp(typesDir) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    LoadMimeTypes(typesDir);

    // Even targets are items of the run, odd ones entries of archive.dat.
    TCacheItemList owned;
    std::vector<TCacheItem*> job;
    TCacheItemList list;
    for (int i = 0; i < 2 * items; ++i) {
        const bool page = i % 3 == 0;
        const std::string name = (page ? "p" : "i") + std::to_string(i) + (page ? ".html" : ".gif");
        auto item = Item("http://host:80/site/" + name, name, page ? 1 : 2);
        if (i % 2 == 0) {
            job.push_back(item.get());
            owned.push_back(std::move(item));
        } else {
            list.push_back(std::move(item));
        }
    }
    std::mt19937 random(5);
    std::vector<std::string> pages;
    std::size_t bytes = 0;
    for (int i = 0; i < pageCount; ++i) {
        pages.push_back(Page(items, random));
        bytes += pages.back().size();
    }

    const Clock::time_point built = Clock::now();
    const ArchiveLinkMap map(job, list);
    const double buildSeconds = Seconds(built);

    LinkOptions options;
    options.EmphasizeLinks = true;
    std::size_t rounds = 0;
    std::size_t written = 0;
    const Clock::time_point start = Clock::now();
    while (Seconds(start) < 2.0) {
        for (const std::string& page : pages) {
            written += RewritePageText(page, "http://host:80/site/index.html", options, map).size();
        }
        ++rounds;
    }
    const double rewriteSeconds = Seconds(start);

    const Clock::time_point copyStart = Clock::now();
    std::size_t copied = 0;
    for (std::size_t round = 0; round < rounds; ++round) {
        for (const std::string& page : pages) {
            std::string copy = page;
            copied += copy.size();
        }
    }
    const double copySeconds = Seconds(copyStart);

    const double megabytes = static_cast<double>(bytes * rounds) / 1e6;
    std::printf("pages: %d of %zu bytes on average, %d items in the run and %d in archive.dat\n",
                pageCount, bytes / static_cast<std::size_t>(pageCount), items, items);
    std::printf("link index built in %.1f ms\n", buildSeconds * 1e3);
    std::printf("rewriter: %.0f MB/s (%zu bytes written)\n", megabytes / rewriteSeconds, written);
    std::printf("plain copy of the same bytes: %.0f MB/s (%zu bytes); rewriter/copy = %.3f\n",
                megabytes / copySeconds, copied, copySeconds / rewriteSeconds);
    std::filesystem::remove_all(typesDir);
    return 0;
}
