// Times ReadCacheIndex on a Netscape cache index against reading the same file's
// bytes, in the same run. Usage: bench_read_cache_index INDEX [RUNS]
// (make a large index with make_fat_db, e.g. --entries 20000).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/content_types.h"
#include "platform/file_system.h"
#include "readers/netscape_index.h"
#include "tool_options.h"

namespace {

constexpr char Usage[] = "usage: bench_read_cache_index INDEX [RUNS]   (default: 10 runs)\n";

template <typename Work>
double SecondsPerRun(int runs, Work work) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) {
        work();
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / runs;
}

}  // namespace

int main(int argc, char** argv) {
    arkivo::tools::TakeNoOptions(argc, argv, "bench_read_cache_index", Usage);
    if (argc < 2 || argc > 3) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const std::string index = argv[1];
    const int runs = argc == 3 ? std::max(1, std::atoi(argv[2])) : 10;
    const auto bytes = arkivo::ReadWholeFile(index);
    if (!bytes) {
        std::fprintf(stderr, "bench_read_cache_index: cannot read %s\n", index.c_str());
        return 3;
    }
    arkivo::LoadMimeTypes();
    std::size_t items = 0;
    const double reading = SecondsPerRun(runs, [&] { arkivo::ReadWholeFile(index); });
    const double parsing = SecondsPerRun(runs, [&] {
        arkivo::TCacheItemList list;
        arkivo::ReadCacheIndex(index, list);
        items = list.size();
    });
    std::printf("index: %s (%zu bytes), %zu items, %d runs\n", index.c_str(), bytes->size(), items,
                runs);
    std::printf("read bytes only:  %10.3f ms\n", reading * 1000);
    std::printf("ReadCacheIndex:   %10.3f ms  (%.1f x reading the bytes)\n", parsing * 1000,
                parsing / reading);
    return 0;
}
