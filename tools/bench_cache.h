#pragma once
// The generated cache the archive and web archive benchmarks share: N items, half
// HTML pages of about 20 KB with about 20 links each, the rest images and other
// files, spread over 50 domains, each with the record a cache reader would keep.

#include <unistd.h>
#include <chrono>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/cache_item.h"
#include "model/file_utils.h"
#include "platform/path.h"

namespace arkivo::tools {

inline std::string Page(int index, int items, std::mt19937& random) {
    std::string page =
        "<HTML><HEAD><TITLE>Page " + std::to_string(index) + "</TITLE></HEAD><BODY>\n";
    while (page.size() < 20000) {
        const int target = static_cast<int>(random() % static_cast<unsigned>(items));
        page += "<P>Some text about the subject of this page, and a link to ";
        page += target % 2 == 0 ? "<A HREF=\"/p" + std::to_string(target) + ".html\">page</A>"
                                : "<IMG SRC=\"/i" + std::to_string(target) + ".gif\">";
        page += " followed by more words to read.</P>\n";
        page += std::string(800, 'w') + "\n";
    }
    return page + "</BODY></HTML>\n";
}

struct Cache {
    TCacheItemList Items;
    std::uint64_t Bytes = 0;
};

// Writes the cached files into dir and returns the items naming them.
inline Cache MakeCache(const std::string& dir, int count) {
    MakeDirectoryPath(dir);
    std::mt19937 random(7);
    Cache cache;
    const std::string picture(6000, 'G');
    const std::string archiveFile(30000, 'Z');
    for (int i = 0; i < count; ++i) {
        auto item = std::make_unique<TCacheItem>();
        const int domain = i % 50;
        item->Domain = "site" + std::to_string(domain) + ".example";
        item->Date = 45000.0;
        std::string body;
        if (i % 2 == 0) {
            item->Kind = 1;
            item->Url = "http://" + item->Domain + ":80/p" + std::to_string(i) + ".html";
            body = Page(i, count, random);
        } else if (i % 4 == 1) {
            item->Kind = 2;
            item->Url = "http://" + item->Domain + ":80/i" + std::to_string(i - 1) + ".gif";
            body = picture;
        } else {
            item->Kind = 44;
            item->Url = "http://" + item->Domain + ":80/f" + std::to_string(i) + ".zip";
            body = archiveFile;
        }
        item->CacheFile = JoinPath(dir, "M" + std::to_string(i));
        auto origin = std::make_shared<CacheOrigin>();
        origin->Format = CacheFormat::NavigatorDatabase;
        origin->IndexFile = JoinPath(dir, "FAT.DB");
        origin->Url = item->Url;
        origin->StoredFileName = "M" + std::to_string(i);
        origin->ContentType = i % 2 == 0   ? "text/html"
                              : i % 4 == 1 ? "image/gif"
                                           : "application/zip";
        origin->LastAccess = 1700000000 + i;
        item->Origin = std::move(origin);
        std::ofstream out(item->CacheFile, std::ios::binary);
        out << body;
        if (!out.good()) {
            std::fprintf(stderr, "cannot write %s\n", item->CacheFile.c_str());
            std::exit(1);
        }
        cache.Bytes += body.size();
        cache.Items.push_back(std::move(item));
    }
    return cache;
}

// The benchmark's work directory: the operand given, else a new temporary one,
// which the benchmark removes at the end (own is then true).
inline std::string WorkDirectory(const std::vector<std::string>& operands, std::size_t index,
                                 bool& own) {
    own = operands.size() <= index;
    if (!own) {
        return operands[index];
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "arkivo-bench-XXXXXX").string();
    return ::mkdtemp(pattern.data()) ? pattern : "arkivo-bench";
}

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The seconds a shell command takes; a failing command ends the benchmark.
inline double TimeCommand(const std::string& command) {
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double seconds = Seconds(start);
    if (status != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return seconds;
}

}  // namespace arkivo::tools
