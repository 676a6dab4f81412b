// Writes the Internet Explorer cache fixtures of tests/data/ie: for each fixture a
// Content.IE5 directory with a valid index.dat (header, directory table, bitmap,
// chained HASH records filed by the cache's hash, URL records with their strings,
// headers and times, REDR and LEAK records) and the cached files it names.
//
//   ie_fixture_writer OUTPUT_DIRECTORY
//   ie_fixture_writer --many COUNT|max OUTPUT_DIRECTORY   (one large cache for benchmarks)
//   ie_fixture_writer --manifest FILE CACHE_DIRECTORY
//
// Each fixture is named after what it shows; the tests describe what they expect
// of each. --many max writes as many entries as fit in the largest index.dat the
// format allows (its bitmap covers 126,336 blocks: a file of 16,187,392 bytes).
// With --manifest, CACHE_DIRECTORY itself becomes a Content.IE5 directory holding
// one entry for each resource the manifest lists (see sample_manifest.h): fetched
// at its date, with its content type in the stored response header and its bytes
// in a file named as Internet Explorer names them ("welcome[1].htm"), the files
// spread over four cache directories.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "ie_index_builder.h"
#include "model/file_utils.h"
#include "model/url.h"
#include "platform/clock.h"
#include "platform/path.h"
#include "readers/ie_index_file.h"
#include "readers/ie_url_hash.h"
#include "sample_manifest.h"
#include "tool_options.h"

using namespace arkivo;
using namespace arkivo::ie_index;
using namespace arkivo::ie_fixture;

namespace {

constexpr char Usage[] =
    "usage: ie_fixture_writer OUTPUT_DIRECTORY\n"
    "       ie_fixture_writer --many COUNT|max OUTPUT_DIRECTORY\n"
    "       ie_fixture_writer --manifest FILE CACHE_DIRECTORY\n";

struct Fixture {
    std::string Name;
    std::string Index;
    std::vector<std::pair<std::string, std::string>> Files;  // path in the cache, bytes
};

std::string HttpHeader(std::string_view contentType) {
    return "HTTP/1.1 200 OK\r\nContent-Type: " + std::string(contentType) +
           "\r\nContent-Length: 42\r\n\r\n~U:tester\r\n";
}

// Adds the entry and, when it has one, its cached file under diskDirectory.
std::uint32_t AddWithFile(IndexBuilder& builder, Fixture& fixture, const CacheEntryPlan& entry,
                          const std::string& diskDirectory, std::string diskName = {}) {
    if (entry.WriteFile && !entry.FileName.empty()) {
        fixture.Files.emplace_back(
            JoinPath(diskDirectory, diskName.empty() ? entry.FileName : diskName), entry.Content);
    }
    return builder.AddUrl(entry);
}

// The cases ReadUrlCache distinguishes, with redirects, a LEAK record, a grouped
// sticky entry and a deleted slot whose stale record must never be followed.
Fixture Typical() {
    Fixture fixture{"typical", {}, {}};
    const std::vector<std::string> dirs = {"ABCD1234", "EFGH5678", "IJKL9012", "MNOP3456"};
    IndexBuilder builder(Signature, dirs);
    builder.AddGroup();
    builder.AddHashTable();
    const std::string html = "<html><body>cached</body></html>\n";

    const std::uint32_t home = AddWithFile(builder, fixture,
                                           {.Location = "http://www.example.com/index.html",
                                            .FileName = "index[1].htm",
                                            .Directory = 0,
                                            .Header = HttpHeader("text/html"),
                                            .Content = html},
                                           dirs[0]);
    // The directory is named in lower case on disk and the file in mixed case.
    AddWithFile(builder, fixture,
                {.Location = "http://WWW.Example.COM:8080",
                 .FileName = "logo[1].gif",
                 .Directory = 1,
                 .Header = "HTTP/1.1 200 OK\r\nCONTENT-TYPE: image/gif\r\n\r\n",
                 .Content = "GIF89a"},
                "efgh5678", "Logo[1].GIF");
    const std::uint32_t secure =
        AddWithFile(builder, fixture,
                    {.Location = "https://secure.example.org/account/login.html",
                     .FileName = "login[1].htm",
                     .Directory = 2,
                     .Header = HttpHeader("text/html; charset=utf-8"),
                     .Content = html},
                    dirs[2]);
    AddWithFile(builder, fixture,
                {.Location = "ftp://ftp.example.net/pub/readme.txt",
                 .FileName = "readme[1].txt",
                 .Directory = 3,
                 .Header = {},
                 .Content = "readme\n"},
                dirs[3]);
    AddWithFile(builder, fixture,
                {.Location = "http://www.example.com/notype.css",
                 .FileName = "notype[1].css",
                 .Directory = 3,
                 .Header = "HTTP/1.1 200 OK\r\nServer: test\r\n\r\n",
                 .Content = "body {}\n"},
                dirs[3]);
    AddWithFile(builder, fixture,
                {.Location = "http://www.example.com/nospace.js",
                 .FileName = "nospace[1].js",
                 .Directory = 0,
                 .Header = "HTTP/1.1 200 OK\r\nContent-Type:application/x-javascript\r\n\r\n",
                 .Content = "var x;\n"},
                dirs[0]);
    AddWithFile(builder, fixture,
                {.Location = "http://www.example.com/zero-times.html",
                 .FileName = "zero-times[1].htm",
                 .Directory = 1,
                 .Header = HttpHeader("text/html"),
                 .LastAccess = 0,
                 .LastModified = 0,
                 .LastSync = 0,
                 .Content = html},
                "efgh5678");
    AddWithFile(builder, fixture,
                {.Location = "http://www.example.com/missing.html",
                 .FileName = "missing[1].htm",
                 .Directory = 2,
                 .Header = HttpHeader("text/html"),
                 .Content = html,
                 .WriteFile = false},
                dirs[2]);
    AddWithFile(builder, fixture,
                {.Location = "http://www.example.com/no-file",
                 .Directory = 0,
                 .Header = HttpHeader("text/html")},
                dirs[0]);
    AddWithFile(builder, fixture,
                {.Location = "Cookie:tester@example.com/",
                 .FileName = "tester@example[1].txt",
                 .Directory = 3,
                 .Header = {},
                 .Content = "id\n1\nexample.com/\n"},
                dirs[3]);
    AddWithFile(builder, fixture,
                {.Location = "http://static.example.net/sticky.png",
                 .FileName = "sticky[1].png",
                 .Directory = 2,
                 .Header = HttpHeader("image/png"),
                 .Flags = 0x45,
                 .Content = "\x89PNG\r\n",
                 .Grouped = true},
                dirs[2]);
    AddWithFile(builder, fixture,
                {.Location = "http://www.example.com/later-sync.html",
                 .FileName = "later-sync[1].htm",
                 .Directory = 0,
                 .Header = HttpHeader("text/html"),
                 .LastAccess = FileTime(2015, 8, 25, 11, 5, 20),
                 .LastSync = DosTime(2016, 1, 2, 3, 4, 6),
                 .Content = html},
                dirs[0]);
    AddWithFile(builder, fixture,
                {.Location = "http://www.example.com/plain.txt",
                 .FileName = "plain[1].txt",
                 .Directory = 1,
                 .Header = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n",
                 .RawHeader = true,
                 .Content = "plain\n"},
                "efgh5678");

    builder.AddRedirect("http://example.com/", home);
    builder.AddRedirect("http://go.example.com/r?id=1", secure);
    const CacheEntryPlan leaked{.Location = "http://www.example.com/leaked.html",
                                .FileName = "leaked[1].htm",
                                .Directory = 0,
                                .Header = HttpHeader("text/html"),
                                .Content = html};
    fixture.Files.emplace_back(JoinPath(dirs[0], leaked.FileName), leaked.Content);
    builder.AddLeak(leaked);
    const CacheEntryPlan stale{.Location = "http://stale.example.com/old.html",
                               .FileName = "old[1].htm",
                               .Directory = 3,
                               .Header = HttpHeader("text/html"),
                               .Content = html};
    fixture.Files.emplace_back(JoinPath(dirs[3], stale.FileName), stale.Content);
    builder.AddDeletedEntry(stale);

    fixture.Index = builder.Finish();
    return fixture;
}

std::string NumberedUrl(std::string_view stem, int number, std::string_view suffix) {
    return std::string(stem) + std::to_string(number) + std::string(suffix);
}

// An entry larger than 8192 bytes, met first, followed by ordinary entries.
Fixture LargeEntry() {
    Fixture fixture{"large-entry", {}, {}};
    const std::vector<std::string> dirs = {"LARGE001"};
    IndexBuilder builder(Signature, dirs);
    builder.AddHashTable();

    std::vector<std::string> small;
    std::uint32_t firstBucket = 64;
    for (int i = 1; i <= 5; ++i) {
        small.push_back(NumberedUrl("http://www.example.com/small", i, ".html"));
        firstBucket = std::min(firstBucket, UrlCacheHash(small.back()) & 63);
    }
    int number = 0;
    while ((UrlCacheHash(NumberedUrl("http://big.example.com/huge", number, ".png")) & 63) >
           firstBucket) {
        ++number;
    }
    const std::string header =
        "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nX-Padding: " + std::string(10000, 'x') +
        "\r\n\r\n";
    AddWithFile(builder, fixture,
                {.Location = NumberedUrl("http://big.example.com/huge", number, ".png"),
                 .FileName = "huge[1].png",
                 .Header = header,
                 .Content = "\x89PNG\r\n"},
                dirs[0]);
    for (std::size_t i = 0; i < small.size(); ++i) {
        AddWithFile(builder, fixture,
                    {.Location = small[i],
                     .FileName = "small" + std::to_string(i + 1) + "[1].htm",
                     .Header = HttpHeader("text/html"),
                     .Content = "<p>small</p>\n"},
                    dirs[0]);
    }
    fixture.Index = builder.Finish();
    return fixture;
}

// Ten entries in one bucket: the first table holds seven, the second the rest.
Fixture ChainedHash() {
    Fixture fixture{"chained-hash", {}, {}};
    const std::vector<std::string> dirs = {"CHAIN001"};
    IndexBuilder builder(Signature, dirs);
    builder.AddHashTable();
    const std::uint32_t bucket = UrlCacheHash("http://chain.example.com/page0.html") & 63;
    int found = 0;
    for (int number = 0; found < 10; ++number) {
        const std::string url = NumberedUrl("http://chain.example.com/page", number, ".html");
        if ((UrlCacheHash(url) & 63) != bucket) {
            continue;
        }
        AddWithFile(builder, fixture,
                    {.Location = url,
                     .FileName = "page" + std::to_string(number) + "[1].htm",
                     .Header = HttpHeader("text/html"),
                     .Content = "<p>chain</p>\n"},
                    dirs[0]);
        ++found;
    }
    fixture.Index = builder.Finish();
    return fixture;
}

// The same layout under the signature Wine's own WinINet writes.
Fixture WineSignature() {
    Fixture fixture{"wine-signature", {}, {}};
    const std::vector<std::string> dirs = {"WINE0001"};
    IndexBuilder builder("WINE URLCache Ver 0.2012001", dirs);
    builder.AddHashTable();
    AddWithFile(builder, fixture,
                {.Location = "http://wine.example.org/index.html",
                 .FileName = "index[1].htm",
                 .Header = HttpHeader("text/html"),
                 .Content = "<p>wine</p>\n"},
                dirs[0]);
    AddWithFile(builder, fixture,
                {.Location = "http://wine.example.org/logo.png",
                 .FileName = "logo[1].png",
                 .Header = HttpHeader("image/png"),
                 .Content = "\x89PNG\r\n"},
                dirs[0]);
    fixture.Index = builder.Finish();
    return fixture;
}

// File names that are not plain names; files sit where following them would lead.
Fixture UnsafeFileNames() {
    Fixture fixture{"unsafe-file-names", {}, {}};
    const std::vector<std::string> dirs = {"SAFE0001"};
    IndexBuilder builder(Signature, dirs);
    builder.AddHashTable();
    const char* names[] = {"../outside.html", "sub/inner.html", "..\\up.html", ".."};
    int number = 0;
    for (const char* name : names) {
        builder.AddUrl({.Location = NumberedUrl("http://unsafe.example.com/", ++number, ".html"),
                        .FileName = name,
                        .Header = HttpHeader("text/html"),
                        .Content = "<p>x</p>\n"});
    }
    fixture.Files.emplace_back("outside.html", "<p>outside the directory</p>\n");
    fixture.Files.emplace_back(JoinPath(JoinPath(dirs[0], "sub"), "inner.html"), "<p>inner</p>\n");
    AddWithFile(builder, fixture,
                {.Location = "http://unsafe.example.com/ok.html",
                 .FileName = "ok[1].htm",
                 .Header = HttpHeader("text/html"),
                 .Content = "<p>ok</p>\n"},
                dirs[0]);
    fixture.Index = builder.Finish();
    return fixture;
}

// A directory table naming "..": the index is damaged and its entries have no file.
Fixture UnsafeDirectoryName() {
    Fixture fixture{"unsafe-directory-name", {}, {}};
    IndexBuilder builder(Signature, {"..", "SAFE0002"});
    builder.AddHashTable();
    builder.AddUrl({.Location = "http://unsafe.example.com/victim.html",
                    .FileName = "victim.html",
                    .Directory = 0,
                    .Header = HttpHeader("text/html"),
                    .Content = "<p>victim</p>\n"});
    AddWithFile(builder, fixture,
                {.Location = "http://unsafe.example.com/ok.html",
                 .FileName = "ok[1].htm",
                 .Directory = 1,
                 .Header = HttpHeader("text/html"),
                 .Content = "<p>ok</p>\n"},
                "SAFE0002");
    fixture.Index = builder.Finish();
    return fixture;
}

// Entry i of the benchmark cache: every fourth a page with a long header, spread
// over four directories.
CacheEntryPlan ManyEntry(int i) {
    const std::string header =
        HttpHeader(i % 4 == 0 ? "text/html" : "image/gif") + std::string(i % 4 == 0 ? 400 : 0, 'h');
    return {.Location = NumberedUrl("http://site" + std::to_string(i % 97) + ".example.com/item", i,
                                    ".html"),
            .FileName = "item" + std::to_string(i) + "[1].htm",
            .Directory = static_cast<std::uint8_t>(i % 4),
            .Header = header,
            .Content = "<p>many</p>\n"};
}

// A cache of count entries for benchmarks (not committed), or of as many as fit in
// the largest index.dat when count is 0. None when count entries do not fit.
std::optional<Fixture> Many(int count) {
    const std::vector<std::string> dirs = {"MANY0001", "MANY0002", "MANY0003", "MANY0004"};
    Fixture fixture;
    IndexBuilder builder(Signature, dirs);
    builder.AddHashTable();
    int added = 0;
    for (; count == 0 || added < count; ++added) {
        const CacheEntryPlan entry = ManyEntry(added);
        if (!builder.Fits(entry)) {
            if (count == 0) {
                break;
            }
            std::fprintf(stderr, "ie_fixture_writer: only %d entries fit in an index.dat\n", added);
            return std::nullopt;
        }
        AddWithFile(builder, fixture, entry, dirs[entry.Directory]);
    }
    fixture.Name = "many-" + std::to_string(added);
    fixture.Index = builder.Finish();
    return fixture;
}

// The name Internet Explorer gives a URL's cached file: the last part of its path
// ("index" for none) with "[n]" before an extension cut to three letters, n
// counting up until the name is new in its directory (letter case ignored).
std::string CachedFileName(const std::string& url, std::vector<std::string>& namesInDirectory) {
    const std::string path = url.substr(0, url.find_first_of("?#"));
    const std::size_t host = url.find("//") == std::string::npos ? 0 : url.find("//") + 2;
    std::string last =
        path.find('/', host) == std::string::npos ? "" : path.substr(path.rfind('/') + 1);
    if (last.empty()) {
        last = "index.html";
    }
    const std::size_t dot = last.rfind('.');
    const std::string stem = last.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : "." + last.substr(dot + 1, 3);
    for (int n = 1;; ++n) {
        const std::string name = stem + "[" + std::to_string(n) + "]" + extension;
        if (std::find(namesInDirectory.begin(), namesInDirectory.end(), LowerCase(name)) ==
            namesInDirectory.end()) {
            namesInDirectory.push_back(LowerCase(name));
            return name;
        }
    }
}

std::uint64_t FileTimeOf(const DateParts& date) {
    return FileTime(date.Year, date.Month, date.Day, date.Hour, date.Minute, date.Second);
}

// A cache of the manifest's resources, in its order, taking turns among the
// cache directories.
Fixture FromManifest(const std::vector<samples::ManifestEntry>& resources) {
    Fixture fixture{"", {}, {}};
    const std::vector<std::string> dirs = {"2QF7LMXA", "B4K9TZ1C", "M3N8PQ0R", "XW5D6E7H"};
    std::vector<std::vector<std::string>> names(dirs.size());
    IndexBuilder builder(Signature, dirs);
    builder.AddHashTable();
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const samples::ManifestEntry& resource = resources[i];
        const std::uint8_t dir = static_cast<std::uint8_t>(i % dirs.size());
        const DateParts& date = resource.Date;
        AddWithFile(builder, fixture,
                    {.Location = resource.Url,
                     .FileName = CachedFileName(resource.Url, names[dir]),
                     .Directory = dir,
                     .Header = "HTTP/1.0 200 OK\r\nContent-Type: " + resource.ContentType +
                               "\r\nContent-Length: " + std::to_string(resource.Content.size()) +
                               "\r\n\r\n~U:visitor\r\n",
                     .LastAccess = FileTimeOf(date),
                     .LastModified = FileTime(1997, 3, 14, 18, 40, 0),
                     .LastSync = DosTime(date.Year, date.Month, date.Day, date.Hour, date.Minute,
                                         date.Second),
                     .Content = resource.Content},
                    dirs[dir]);
    }
    fixture.Index = builder.Finish();
    return fixture;
}

bool WriteFixture(const std::string& root, const Fixture& fixture) {
    const std::string cache = JoinPath(root, fixture.Name);
    std::vector<std::pair<std::string, std::string>> files = fixture.Files;
    files.emplace_back("index.dat", fixture.Index);
    for (const auto& [relative, bytes] : files) {
        const std::string path = JoinPath(cache, relative);
        MakeDirectoryPath(DirectoryPart(path));
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    tools::AnswerHelp(argc, argv, Usage);
    std::string_view mode;  // --many or --manifest; none for the test fixtures
    std::string value;
    std::vector<std::string> operands;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--many" || arg == "--manifest") {
            if (!mode.empty() || i + 1 == argc) {
                std::fputs(Usage, stderr);
                return 2;
            }
            mode = arg;
            value = argv[++i];
        } else if (arg.starts_with('-')) {
            tools::RefuseOption("ie_fixture_writer", argv[i], Usage);
        } else {
            operands.emplace_back(arg);
        }
    }
    if (operands.size() != 1) {
        std::fputs(Usage, stderr);
        return 2;
    }
    std::vector<Fixture> fixtures;
    if (mode == "--many") {
        const bool max = value == "max";
        const int count = max ? 0 : std::atoi(value.c_str());
        if (!max && count < 1) {
            std::fprintf(stderr, "COUNT must be a positive number or max\n");
            return 2;
        }
        std::optional<Fixture> many = Many(count);
        if (!many) {
            return 2;
        }
        fixtures.push_back(std::move(*many));
    } else if (mode == "--manifest") {
        std::vector<samples::ManifestEntry> resources;
        std::string error;
        if (!samples::ReadManifest(value, resources, error)) {
            std::fprintf(stderr, "ie_fixture_writer: %s\n", error.c_str());
            return 3;
        }
        fixtures.push_back(FromManifest(resources));
    } else {
        fixtures = {Typical(),       LargeEntry(),      ChainedHash(),
                    WineSignature(), UnsafeFileNames(), UnsafeDirectoryName()};
    }
    const std::string& output = operands[0];
    for (const Fixture& fixture : fixtures) {
        if (!WriteFixture(output, fixture)) {
            return 1;
        }
        std::printf("%s\n", JoinPath(output, fixture.Name).c_str());
    }
    return 0;
}
