// Measures an archive run against copying the same cached files with "cp -r".
//
// Generates a cache of N items (half HTML pages of about 20 KB with about 20 links
// each, the rest images and other files), archives it into a fresh directory with the
// archive engine, and times "cp -r" of the cache directory in the same run. Then does
// the same for 2N items, so the growth can be read off.
//
//   archive_bench [ITEMS] [WORK_DIR]      (defaults: 20000 and a temporary directory)
//   archive_bench --runs R ITEMS [WORK_DIR]
//
// With --runs, only ITEMS items are measured, R times each (copy, then archive,
// into fresh directories), and every run also prints a line for scripts:
//   RUN archive SECONDS cp SECONDS megabytes MB

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "archiver/archive_run.h"
#include "bench_cache.h"
#include "model/content_types.h"
#include "model/file_utils.h"
#include "platform/dialogs.h"
#include "platform/path.h"
#include "tool_options.h"

namespace {

using namespace arkivo;
using arkivo::tools::Cache;
using arkivo::tools::MakeCache;
using tools::Clock;
using tools::Seconds;

constexpr char Usage[] =
    "usage: archive_bench [ITEMS] [WORK_DIR]   (defaults: 20000 and a temporary directory)\n"
    "       archive_bench --runs R ITEMS [WORK_DIR]\n";

double TimeArchive(const Cache& cache, const std::string& archiveDir) {
    ArchiveRunOptions options;
    options.ArchiveDir = archiveDir;
    options.AskQuestions = false;
    ArchiveRun run(options, {});
    run.PrepareArchiveRun();
    for (const auto& item : cache.Items) {
        run.ArchiveJob().push_back(item.get());
    }
    const auto start = Clock::now();
    const ArchiveRunResult result = run.CheckArchiveDirectory();
    const double seconds = Seconds(start);
    run.FinishArchiveRun(result);
    if (result.Outcome != ArchiveOutcome::Completed) {
        std::fprintf(stderr, "archive run did not complete: %s\n", result.Error.c_str());
        std::exit(1);
    }
    return seconds;
}

double TimeCopy(const std::string& from, const std::string& to) {
    return tools::TimeCommand("cp -r '" + from + "' '" + to + "'");
}

void Measure(const std::string& work, int count, int runs = 1, bool machineLines = false) {
    const std::string base = JoinPath(work, std::to_string(count));
    const Cache cache = MakeCache(JoinPath(base, "cache"), count);
    for (int run = 0; run < runs; ++run) {
        std::system(("sync; rm -rf '" + base + "/copy' '" + base + "/archive'").c_str());
        const double copy = TimeCopy(JoinPath(base, "cache"), JoinPath(base, "copy"));
        const double archive = TimeArchive(cache, JoinPath(base, "archive"));
        const double megabytes = static_cast<double>(cache.Bytes) / 1e6;
        std::printf("%7d items  %7.1f MB   archive %7.3f s   cp -r %7.3f s   ratio %5.2f\n", count,
                    megabytes, archive, copy, archive / copy);
        if (machineLines) {
            std::printf("RUN archive %.4f cp %.4f megabytes %.1f\n", archive, copy, megabytes);
        }
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    tools::AnswerHelp(argc, argv, Usage);
    int runs = 0;
    std::vector<std::string> operands;  // ITEMS, WORK_DIR
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs") {
            runs = i + 1 < argc ? std::atoi(argv[++i]) : 0;
            if (runs < 1) {
                std::fputs(Usage, stderr);
                return 2;
            }
        } else if (arg.starts_with('-')) {
            tools::RefuseOption("archive_bench", argv[i], Usage);
        } else {
            operands.push_back(arg);
        }
    }
    if (runs > 0 && operands.empty()) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const int items = operands.empty() ? 20000 : std::atoi(operands[0].c_str());
    bool ownWork = false;  // a temporary directory, removed at the end
    const std::string work = tools::WorkDirectory(operands, 1, ownWork);
    LoadMimeTypes(work);
    std::printf("Archive run against cp -r of the same cached files (%s)\n", work.c_str());
    if (runs > 0) {
        Measure(work, items, runs, true);
    } else {
        Measure(work, items);
        Measure(work, items * 2);
    }
    if (ownWork) {
        std::filesystem::remove_all(work);
    }
    return 0;
}
