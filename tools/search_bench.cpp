// Measures the archive search's page-text search against grep.
//
// Writes an archive of PAGES HTML pages of about 20 KB each (spread over 50
// domains, with archive.dat listing them), then searches it for a phrase that one
// page in 25 holds somewhere, once with SearchArchive and once with
// `grep -rlF PHRASE` over the same files, each three times after one untimed
// warm-up, and prints the best times and their ratio. Both must find the same
// pages. The archive is removed at the end.
//
//   search_bench [PAGES]      (default: 20000, about 400 MB)
//
// A last line for scripts gives the medians of the three timed runs:
//   MEDIAN search SECONDS grep SECONDS megabytes MB

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "model/cache_item.h"
#include "model/content_types.h"
#include "search/archive_search.h"
#include "tool_options.h"

namespace {

using namespace arkivo;
using Clock = std::chrono::steady_clock;

constexpr char Usage[] = "usage: search_bench [PAGES]   (default: 20000, about 400 MB)\n";
constexpr const char* Phrase = "quarterly telescope";

std::string Page(int number, bool holdsPhrase, std::mt19937& random) {
    static const char* const words[] = {"The",       "archive", "of",         "pages", "Telescopic",
                                        "keeps",     "a",       "copy",       "in",    "Every",
                                        "QUARTERLY", "report",  "and",        "links", "to",
                                        "other",     "sites",   "<B>bold</B>"};
    std::string page = "<HTML><HEAD><TITLE>Page " + std::to_string(number) +
                       "</TITLE></HEAD>\r\n<BODY BGCOLOR=white>\r\n<P>";
    const std::size_t size = 16000 + random() % 8000;
    const std::size_t phraseAt = random() % size;
    while (page.size() < size) {
        if (holdsPhrase && page.size() >= phraseAt) {
            page += std::string(Phrase) + " ";
            holdsPhrase = false;
        }
        page += words[random() % std::size(words)];
        page += random() % 12 == 0 ? ".</P>\r\n<P>" : " ";
    }
    return page + "</P></BODY></HTML>\r\n";
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The best of three timed runs after one warm-up; count gets the number found,
// median the middle time.
template <typename Run>
double Best(Run run, std::size_t& count, double& median) {
    run();
    std::vector<double> times;
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        count = run();
        times.push_back(Seconds(start));
    }
    std::sort(times.begin(), times.end());
    median = times[1];
    return times[0];
}

std::size_t GrepFiles(const std::string& dir) {
    const std::string command = std::string("grep -rlF '") + Phrase + "' " + dir + " | wc -l";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return 0;
    }
    unsigned long lines = 0;
    if (std::fscanf(pipe, "%lu", &lines) != 1) {
        lines = 0;
    }
    ::pclose(pipe);
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    tools::TakeNoOptions(argc, argv, "search_bench", Usage);
    const int pages = argc > 1 ? std::atoi(argv[1]) : 20000;
    if (pages <= 0) {
        std::fputs(Usage, stderr);
        return 2;
    }
    char root[] = "/tmp/search-bench-XXXXXX";
    if (::mkdtemp(root) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string archive = std::string(root) + "/";
    LoadMimeTypes(archive);
    std::mt19937 random(20240611);
    TMemoryStream info;
    std::uint64_t bytes = 0;
    std::size_t holding = 0;
    for (int i = 0; i < pages; ++i) {
        TCacheItem item;
        const std::string domain = "www.site" + std::to_string(i % 50) + ".example";
        item.Url = "http://" + domain + ":80/pages/p" + std::to_string(i) + ".html";
        item.ArchiveName = "p" + std::to_string(i) + ".htm";
        item.Kind = 1;
        item.SaveToStream(info);
        const bool holdsPhrase = random() % 25 == 0;
        holding += holdsPhrase;
        const std::string page = Page(i, holdsPhrase, random);
        bytes += page.size();
        const std::string folder = archive + domain + "/text/";
        std::filesystem::create_directories(folder);
        TFileStream(folder + item.ArchiveName, FileMode::Create).Write(page.data(), page.size());
    }
    TFileStream(archive + "archive.dat", FileMode::Create)
        .Write(info.Bytes().data(), info.Bytes().size());
    std::printf("archive: %d pages, %.1f MB, %zu holding \"%s\"\n", pages, bytes / 1e6, holding,
                Phrase);

    std::size_t found = 0;
    double searchMedian = 0;
    const double search = Best(
        [&] {
            return SearchArchive({archive, "", Phrase}, SearchCallbacks{}).HitCount;
        },
        found, searchMedian);
    std::size_t grepped = 0;
    double grepMedian = 0;
    const double grep = Best([&] { return GrepFiles(archive); }, grepped, grepMedian);
    std::printf("SearchArchive: %.3f s (%zu hits, %.0f MB/s)\n", search, found,
                bytes / 1e6 / search);
    std::printf("grep -rlF:     %.3f s (%zu files)\n", grep, grepped);
    std::printf("ratio: %.2f x grep\n", search / grep);
    std::printf("MEDIAN search %.4f grep %.4f megabytes %.1f\n", searchMedian, grepMedian,
                bytes / 1e6);
    std::filesystem::remove_all(root);
    return found == holding && grepped == holding ? 0 : 1;
}
