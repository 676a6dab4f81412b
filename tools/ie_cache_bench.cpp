// Measures the Internet Explorer cache stand-in on one cache: parsing index.dat,
// ReadUrlCache (which also looks up every cached file), and deleting every entry in
// one session, each against a baseline measured in the same run: msiecfexport
// reading the same index (when installed) and copying the cache.
//
//   ie_cache_bench CACHE_DIRECTORY
//
// A large cache to measure: ie_fixture_writer --many max /tmp/bench

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "model/cache_item.h"
#include "model/content_types.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "readers/ie_cache_reader.h"
#include "readers/ie_index_file.h"
#include "readers/ie_url_cache_delete.h"
#include "tool_options.h"

using namespace arkivo;

namespace {

constexpr char Usage[] = "usage: ie_cache_bench CACHE_DIRECTORY\n";

// The best of several runs, in milliseconds.
double BestOf(int runs, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

}  // namespace

int main(int argc, char** argv) {
    tools::TakeNoOptions(argc, argv, "ie_cache_bench", Usage);
    if (argc != 2) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const std::string cache = IncludeTrailingSeparator(argv[1]);
    const auto bytes = ReadWholeFile(cache + "index.dat");
    if (!bytes) {
        std::fprintf(stderr, "cannot read %sindex.dat\n", cache.c_str());
        return 1;
    }
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "ie_cache_bench";
    std::filesystem::remove_all(scratch);
    std::filesystem::create_directories(scratch);
    LoadMimeTypes(scratch.string());

    std::size_t entries = 0;
    const double parse = BestOf(5, [&] {
        IeIndex index;
        ParseIndexFile(*bytes, index);
        entries = index.Urls.size();
    });
    std::size_t items = 0;
    const double read = BestOf(3, [&] {
        TCacheItemList list;
        ReadUrlCache(cache, list);
        items = list.size();
    });
    std::printf("entries %zu, items %zu, index %zu bytes\n", entries, items, bytes->size());
    std::printf("parse index.dat       %9.2f ms  (%.0f entries/s)\n", parse,
                entries / (parse / 1000.0));
    std::printf("ReadUrlCache          %9.2f ms  (%.0f entries/s)\n", read,
                entries / (read / 1000.0));
    if (std::system("msiecfexport -V >/dev/null 2>&1") == 0) {
        const std::string command = "msiecfexport " + Quoted(cache + "index.dat") + " >/dev/null";
        const double baseline = BestOf(3, [&] { (void)std::system(command.c_str()); });
        std::printf("msiecfexport          %9.2f ms  ReadUrlCache / msiecfexport = %.2f\n",
                    baseline, read / baseline);
    }

    const std::filesystem::path copy = scratch / "Content.IE5";
    const double copying = BestOf(1, [&] {
        std::filesystem::remove_all(copy);
        std::filesystem::copy(cache, copy, std::filesystem::copy_options::recursive);
    });
    std::size_t deleted = 0;
    const double deleting = BestOf(1, [&] {
        IeIndex index;
        ParseIndexFile(*bytes, index);
        UrlCacheEditor editor;
        if (!editor.Open(copy.string()).ok()) {
            return;
        }
        for (const IeUrlRecord& url : index.Urls) {
            (void)editor.Choose(url.Location);
        }
        const UrlCacheDeletion run = editor.Run();
        deleted += static_cast<std::size_t>(
            std::count(run.States.begin(), run.States.end(), UrlCacheEntryState::Deleted));
    });
    std::printf("copy the cache        %9.2f ms\n", copying);
    std::printf("delete every entry    %9.2f ms  (%zu deleted) delete / copy = %.2f\n", deleting,
                deleted, deleting / copying);
    std::filesystem::remove_all(scratch);
    return 0;
}
