// Measures the web archive export against "tar -c" of the same cached files piped
// to "gzip -6", in the same run: the generated cache of the archive benchmark,
// written as a WARC alone and as a WARC with its WACZ package.
//
//   warc_bench [--runs R] ITEMS [WORK_DIR]   (defaults: 3 runs, a temporary directory)
//
// Every run prints a line for scripts:
//   RUN warc SECONDS wacz SECONDS tar SECONDS megabytes MB

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_cache.h"
#include "model/content_types.h"
#include "platform/path.h"
#include "platform/unique_fd.h"
#include "tool_options.h"
#include "webarchive/web_archive_export.h"

namespace {

using namespace arkivo;
using tools::Clock;
using tools::Seconds;

constexpr char Usage[] = "usage: warc_bench [--runs R] ITEMS [WORK_DIR]\n";

double TimeExport(const tools::Cache& cache, const std::string& outDir, bool wacz) {
    std::filesystem::remove_all(outDir);
    std::filesystem::create_directories(outDir);
    const UniqueFd dir(::open(outDir.c_str(), O_RDONLY | O_DIRECTORY));
    WebArchiveTargets targets;
    targets.WarcName = "cache.warc.gz";
    targets.Warc = ExportTarget{dir.Get(), targets.WarcName, JoinPath(outDir, targets.WarcName)};
    if (wacz) {
        targets.Wacz = ExportTarget{dir.Get(), "cache.wacz", JoinPath(outDir, "cache.wacz")};
    }
    std::vector<const TCacheItem*> items;
    for (const auto& item : cache.Items) {
        items.push_back(item.get());
    }
    const auto start = Clock::now();
    const WebArchiveExport result =
        ExportWebArchive(items, {"bench", "Netscape Navigator disk cache"}, targets, 1700000000);
    const double seconds = Seconds(start);
    if (!result.Error.ok() || result.Written != items.size()) {
        std::fprintf(stderr, "export failed: %s\n", result.Error.message().c_str());
        std::exit(1);
    }
    return seconds;
}

double TimeTar(const std::string& cacheDir, const std::string& target) {
    return tools::TimeCommand("tar -c -C '" + cacheDir + "' . | gzip -6 > '" + target + "'");
}

}  // namespace

int main(int argc, char** argv) {
    tools::AnswerHelp(argc, argv, Usage);
    int runs = 3;
    std::vector<std::string> operands;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs") {
            runs = i + 1 < argc ? std::atoi(argv[++i]) : 0;
        } else if (arg.starts_with("-")) {
            tools::RefuseOption("warc_bench", argv[i], Usage);
        } else {
            operands.push_back(arg);
        }
    }
    if (runs <= 0 || operands.empty()) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const int count = std::atoi(operands[0].c_str());
    bool ownWork = false;  // a temporary directory, removed at the end
    const std::string work = tools::WorkDirectory(operands, 1, ownWork);
    LoadMimeTypes(work);
    const std::string cacheDir = JoinPath(work, "cache");
    const tools::Cache cache = tools::MakeCache(cacheDir, count);
    const double megabytes = static_cast<double>(cache.Bytes) / 1e6;
    std::printf("Web archive export against tar -c | gzip -6 of the same cached files (%s)\n",
                work.c_str());
    for (int run = 0; run < runs; ++run) {
        std::system(("sync; rm -rf '" + work + "/out' '" + work + "/tar.gz'").c_str());
        const double tar = TimeTar(cacheDir, JoinPath(work, "tar.gz"));
        const double warc = TimeExport(cache, JoinPath(work, "out"), false);
        const double wacz = TimeExport(cache, JoinPath(work, "out"), true);
        std::printf("%7d items  %7.1f MB   warc %7.3f s   warc+wacz %7.3f s   tar|gzip %7.3f s\n",
                    count, megabytes, warc, wacz, tar);
        std::printf("RUN warc %.4f wacz %.4f tar %.4f megabytes %.1f\n", warc, wacz, tar,
                    megabytes);
        std::fflush(stdout);
    }
    if (ownWork) {
        std::filesystem::remove_all(work);
    }
    return 0;
}
