// Writes a genuine Navigator cache index (FAT.DB) with the real Berkeley DB 1.85
// hash code of Debian's libdb1-compat (libdb.so.2), plus the cached files it names,
// and prints the entries it left in the database, one per line:
//   URL <TAB> file name <TAB> content type <TAB> time
//
// Usage: make_fat_db OUTPUT [--page-size 4096|16384] [--entries N] [--first N] [--delete N]
//                    [--big N] [--ssl N] [--v5 N] [--after N] [--seed N] [--no-files]
//                    [--no-bookkeeping]
//        make_fat_db OUTPUT --manifest FILE [--page-size 4096|16384] [--no-files]
//                    [--no-bookkeeping]
//   --entries N  N ordinary entries (default 5)
//   --first N    number the entries from N on (default 0); the number picks the
//                host, the type and so the bucket
//   --delete N   delete N of them, chosen by the seed, before the bookkeeping pairs
//   --big N      N more entries whose POST headers make them too large for a page
//   --ssl N      N more https entries with a key cipher and a certificate
//   --v5 N       N more entries in format version 5 (Navigator 4.5 and later), their
//                security blocks taking 0, 12 and 5000 bytes in turn; every fourth
//                takes 12 bytes but gives a length of 0xFFFFFFF0, which a reader
//                can only get past by falling back to the usual place
//   --after N    N more entries stored after the bookkeeping pairs
//   --no-files   do not create the cached files beside OUTPUT
//   --no-bookkeeping  leave out the three INT_ pairs Navigator keeps
//   --manifest FILE   one entry for each resource the manifest lists (see
//                     sample_manifest.h), dated and typed as it says, its cached
//                     file (M<number>.<extension>) holding the resource's bytes
//
// The library has no headers (it is a compatibility package), so its interface is
// declared here and the library is loaded at run time.

#include <dlfcn.h>
#include <fcntl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "model/url.h"
#include "platform/byte_reader.h"
#include "platform/clock.h"
#include "platform/path.h"
#include "sample_manifest.h"
#include "tool_options.h"

namespace {

constexpr char Usage[] =
    "usage: make_fat_db OUTPUT [--page-size 4096|16384] [--entries N] [--first N] [--delete N]\n"
    "                          [--big N] [--ssl N] [--v5 N] [--after N] [--seed N]\n"
    "                          [--no-files]\n"
    "                          [--no-bookkeeping]\n"
    "       make_fat_db OUTPUT --manifest FILE [--page-size 4096|16384] [--no-files]\n"
    "                          [--no-bookkeeping]\n";

struct DBT {
    void* data;
    size_t size;
};
enum DBTYPE { DB_BTREE = 0, DB_HASH = 1, DB_RECNO = 2 };
struct DB {
    DBTYPE type;
    int (*close)(DB*);
    int (*del)(const DB*, const DBT*, unsigned);
    int (*get)(const DB*, const DBT*, DBT*, unsigned);
    int (*put)(const DB*, DBT*, const DBT*, unsigned);
    int (*seq)(const DB*, DBT*, DBT*, unsigned);
    int (*sync)(const DB*, unsigned);
    void* internal;
    int (*fd)(const DB*);
};
struct HASHINFO {
    unsigned bsize;
    unsigned ffactor;
    unsigned nelem;
    unsigned cachesize;
    uint32_t (*hash)(const void*, size_t);
    int lorder;
};
using DbOpen = DB* (*)(const char*, int, int, DBTYPE, const void*);

struct Entry {
    std::string Url;
    std::string FileName;
    std::string ContentType;
    std::int32_t Time = 0;
    std::string PostHeaders;
    std::string Cipher;
    std::string Certificate;
    std::uint32_t Version = 3;
    std::string SecurityBlock;              // version 5: the security information
    std::uint32_t SecurityBlockLength = 0;  // as stored, which may lie
    std::string Content;                    // the cached file's bytes
    std::uint32_t ContentLength = 1234;     // as the record gives it
};

void PutString(std::string& out, const std::string& text) {
    if (text.empty()) {
        arkivo::PutU32LE(out, 0);
        return;
    }
    arkivo::PutU32LE(out, static_cast<std::uint32_t>(text.size() + 1));
    out += text;
    out += '\0';
}

std::string KeyOf(const Entry& entry) {
    const bool post = !entry.PostHeaders.empty();
    std::string key;
    arkivo::PutU32LE(key, static_cast<std::uint32_t>(12 + entry.Url.size() + 1 + (post ? 16 : 0)));
    PutString(key, entry.Url);
    arkivo::PutU32LE(key, post ? 16 : 0);
    if (post) {
        key += std::string(16, '\x5A');  // stands for the MD5 of the POST body
    }
    return key;
}

// A format version 3 record, as Navigator 3 writes it, or a version 5 one as
// Navigator 4.5's source lays it out.
std::string RecordOf(const Entry& entry) {
    std::string body;
    arkivo::PutU32LE(body, entry.Version);
    arkivo::PutU32LE(body, static_cast<std::uint32_t>(entry.Time));  // last modified
    arkivo::PutU32LE(body, static_cast<std::uint32_t>(entry.Time));  // last accessed
    arkivo::PutU32LE(body, 0);                                       // expires
    arkivo::PutU32LE(body, entry.ContentLength);                     // content length
    body += '\0';                                                    // is_netsite
    arkivo::PutU32LE(body, 0);                                       // lock date
    PutString(body, entry.FileName);
    arkivo::PutU32LE(body, static_cast<std::uint32_t>(entry.FileName.size()));
    body += '\1';  // relative path
    if (entry.Version == 5) {
        arkivo::PutU32LE(body, entry.SecurityBlock.empty() ? 0 : 1);  // security on
        arkivo::PutU32LE(body, entry.SecurityBlockLength);
        body += entry.SecurityBlock;
    } else {
        arkivo::PutU32LE(body, entry.Cipher.empty() ? 0 : 1);  // security on
        arkivo::PutU32LE(body, entry.Cipher.empty() ? 0 : 128);
        arkivo::PutU32LE(body, entry.Cipher.empty() ? 0 : 40);
        PutString(body, entry.Cipher);
        PutString(body, entry.Certificate);
    }
    arkivo::PutU32LE(body, entry.PostHeaders.empty() ? 0 : 1);  // method
    PutString(body, entry.PostHeaders);
    PutString(body, entry.ContentType);
    PutString(body, "");  // content encoding
    PutString(body, "");  // charset
    body += '\0';         // incomplete file
    arkivo::PutU32LE(body, entry.ContentLength);
    if (entry.Version == 5) {
        PutString(body, "");  // page services URL
    }
    // The record size also counts the URL, which is not stored: zero padding.
    body += std::string(entry.Url.size() + 1, '\0');
    std::string record;
    arkivo::PutU32LE(record, static_cast<std::uint32_t>(body.size() + 4));
    return record + body;
}

struct Options {
    std::string Output;
    unsigned PageSize = 4096;
    int Entries = 5;
    int First = 0;
    int Deleted = 0;
    int Big = 0;
    int Ssl = 0;
    int Version5 = 0;
    int After = 0;
    unsigned Seed = 1;
    bool Files = true;
    bool Bookkeeping = true;
    std::string Manifest;
    bool MadeUpEntries = false;  // an option about made-up entries was given
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto number = [&](auto& value) {
            if (i + 1 >= argc) {
                return false;
            }
            char* end = nullptr;
            const long parsed = std::strtol(argv[++i], &end, 10);
            value = static_cast<std::decay_t<decltype(value)>>(parsed);
            return *end == '\0' && parsed >= 0;
        };
        bool ok = true;
        options.MadeUpEntries |= arg == "--entries" || arg == "--first" || arg == "--delete" ||
                                 arg == "--big" || arg == "--ssl" || arg == "--v5" ||
                                 arg == "--after" || arg == "--seed";
        if (arg == "--page-size") {
            ok = number(options.PageSize);
        } else if (arg == "--entries") {
            ok = number(options.Entries);
        } else if (arg == "--first") {
            ok = number(options.First);
        } else if (arg == "--delete") {
            ok = number(options.Deleted);
        } else if (arg == "--big") {
            ok = number(options.Big);
        } else if (arg == "--ssl") {
            ok = number(options.Ssl);
        } else if (arg == "--v5") {
            ok = number(options.Version5);
        } else if (arg == "--after") {
            ok = number(options.After);
        } else if (arg == "--seed") {
            ok = number(options.Seed);
        } else if (arg == "--no-bookkeeping") {
            options.Bookkeeping = false;
        } else if (arg == "--no-files") {
            options.Files = false;
        } else if (arg == "--manifest") {
            ok = i + 1 < argc;
            if (ok) {
                options.Manifest = argv[++i];
            }
        } else if (arg.starts_with('-')) {
            arkivo::tools::RefuseOption("make_fat_db", argv[i], Usage);
        } else if (options.Output.empty()) {
            options.Output = arg;
        } else {
            ok = false;
        }
        if (!ok) {
            return false;
        }
    }
    return !options.Output.empty() && (options.PageSize == 4096 || options.PageSize == 16384) &&
           (options.Manifest.empty() || !options.MadeUpEntries);
}

Entry MakeEntry(int number, const char* kind) {
    static const char* const types[][2] = {{"text/html", "HTM"},   {"image/gif", "GIF"},
                                           {"image/jpeg", "JPG"},  {"text/plain", "TXT"},
                                           {"audio/x-wav", "WAV"}, {"application/zip", "ZIP"}};
    const auto& type = types[number % 6];
    char name[32];
    std::snprintf(name, sizeof name, "M%07X.%s", number, type[1]);
    Entry entry;
    entry.Url = std::string(std::strcmp(kind, "ssl") == 0 ? "https" : "http") + "://www.site" +
                std::to_string(number % 7) + ".example/" + kind + "/" + std::to_string(number) +
                "." + arkivo::LowerCase(type[1]);
    entry.FileName = name;
    entry.ContentType = type[0];
    entry.Time = 850000000 + number * 61;
    entry.Content = entry.Url;
    return entry;
}

// The entries ParseOptions asked for (those stored after the bookkeeping pairs
// come later).
std::vector<Entry> MadeUpEntries(const Options& options) {
    std::vector<Entry> entries;
    for (int i = 0; i < options.Entries; ++i) {
        entries.push_back(MakeEntry(options.First + i, "page"));
    }
    for (int i = 0; i < options.Big; ++i) {
        Entry entry = MakeEntry(options.First + options.Entries + i, "big");
        entry.PostHeaders = "Content-Type: application/x-www-form-urlencoded\r\n" +
                            std::string(options.PageSize + 900, 'p');
        entries.push_back(entry);
    }
    for (int i = 0; i < options.Ssl; ++i) {
        Entry entry = MakeEntry(options.First + options.Entries + options.Big + i, "ssl");
        entry.Cipher = "RC4";
        entry.Certificate = std::string(300 + 17 * i, '\x30');
        entries.push_back(entry);
    }
    for (int i = 0; i < options.Version5; ++i) {
        Entry entry =
            MakeEntry(options.First + options.Entries + options.Big + options.Ssl + i, "v5");
        entry.Version = 5;
        static constexpr std::uint32_t BlockSizes[] = {0, 12, 5000, 12};
        entry.SecurityBlock = std::string(BlockSizes[i % 4], '\x30');
        entry.SecurityBlockLength = i % 4 == 3 ? 0xFFFFFFF0u : BlockSizes[i % 4];
        entries.push_back(entry);
    }
    return entries;
}

// "M" and the entry's number in seven hex digits, then the content file's
// extension in capitals cut to three letters, as Navigator names its files.
std::string CachedFileName(int number, const std::string& contentFile) {
    const std::string name = arkivo::FileNamePart(contentFile);
    const std::size_t dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? "DAT" : name.substr(dot + 1, 3);
    for (char& c : extension) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    char fileName[32];
    std::snprintf(fileName, sizeof fileName, "M%07X.%s", number, extension.c_str());
    return fileName;
}

// One entry for each resource of the manifest, in its order.
std::vector<Entry> ManifestEntries(const std::vector<arkivo::samples::ManifestEntry>& resources) {
    std::vector<Entry> entries;
    for (const auto& resource : resources) {
        Entry entry;
        entry.Url = resource.Url;
        entry.FileName = CachedFileName(static_cast<int>(entries.size()) + 1, resource.ContentFile);
        entry.ContentType = resource.ContentType;
        const double days = *arkivo::EncodeDate(resource.Date) - arkivo::UnixEpochDate;
        entry.Time = static_cast<std::int32_t>(std::llround(days * 86400.0));
        entry.Content = resource.Content;
        entry.ContentLength = static_cast<std::uint32_t>(resource.Content.size());
        entries.push_back(entry);
    }
    return entries;
}

}  // namespace

// libdb.so.2 keeps the buffers it collects big pairs in after the database is
// closed; in sanitizer builds that would be reported as a leak that is not this
// program's. Suppressing the library (rather than turning leak checks off) keeps
// the checks on for this program's own code, whatever ASAN_OPTIONS says.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdb.so.2\n";
}

int main(int argc, char** argv) {
    arkivo::tools::AnswerHelp(argc, argv, Usage);
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(Usage, stderr);
        return 2;
    }
    std::vector<Entry> entries;
    if (options.Manifest.empty()) {
        entries = MadeUpEntries(options);
    } else {
        std::vector<arkivo::samples::ManifestEntry> resources;
        std::string error;
        if (!arkivo::samples::ReadManifest(options.Manifest, resources, error)) {
            std::fprintf(stderr, "make_fat_db: %s\n", error.c_str());
            return 3;
        }
        entries = ManifestEntries(resources);
    }
    void* library = dlopen("libdb.so.2", RTLD_NOW);
    if (library == nullptr) {
        std::fprintf(stderr, "make_fat_db: cannot load libdb.so.2 (install libdb1-compat): %s\n",
                     dlerror());
        return 3;
    }
    const auto dbopen = reinterpret_cast<DbOpen>(dlsym(library, "dbopen"));
    if (dbopen == nullptr) {
        std::fprintf(stderr, "make_fat_db: libdb.so.2 has no dbopen\n");
        return 3;
    }
    HASHINFO info{};
    info.bsize = options.PageSize;
    info.lorder = 1234;
    DB* db = dbopen(options.Output.c_str(), O_CREAT | O_RDWR | O_TRUNC, 0644, DB_HASH, &info);
    if (db == nullptr) {
        std::fprintf(stderr, "make_fat_db: cannot create %s: %s\n", options.Output.c_str(),
                     std::strerror(errno));
        return 3;
    }

    bool failed = false;
    const auto put = [&](std::string key, std::string data) {
        DBT keyThing{key.data(), key.size()};
        DBT dataThing{data.data(), data.size()};
        failed |= db->put(db, &keyThing, &dataThing, 0) != 0;
    };
    for (const Entry& entry : entries) {
        put(KeyOf(entry), RecordOf(entry));
    }

    std::vector<bool> live(entries.size(), true);
    std::mt19937 random(options.Seed);
    for (int removed = 0; removed < options.Deleted && removed < options.Entries;) {
        const std::size_t victim = random() % static_cast<unsigned>(options.Entries);
        if (!live[victim]) {
            continue;
        }
        std::string key = KeyOf(entries[victim]);
        DBT keyThing{key.data(), key.size()};
        failed |= db->del(db, &keyThing, 0) != 0;
        live[victim] = false;
        ++removed;
    }

    std::string count;
    arkivo::PutU32LE(count, static_cast<std::uint32_t>(entries.size()));
    std::uint32_t total = 0;
    for (const Entry& entry : entries) {
        total += entry.ContentLength;
    }
    std::string size;
    arkivo::PutU32LE(size, total);
    if (options.Bookkeeping) {
        put("INT_DiskCacheSize", size);
        put("INT_DiskCacheNumber", count);
        put("INT_ExternalCacheNameString", std::string("Netscape Internal Disk Cache") + '\0');
    }

    for (int i = 0; i < options.After; ++i) {
        entries.push_back(MakeEntry(options.First + static_cast<int>(entries.size()), "late"));
        live.push_back(true);
        put(KeyOf(entries.back()), RecordOf(entries.back()));
    }
    failed |= db->close(db) != 0;
    if (failed) {
        std::fprintf(stderr, "make_fat_db: the database refused a change\n");
        return 4;
    }

    const std::string dir = arkivo::DirectoryPart(options.Output);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!live[i]) {
            continue;
        }
        const Entry& entry = entries[i];
        if (options.Files) {
            const std::string path = dir + entry.FileName;
            FILE* file = std::fopen(path.c_str(), "wb");
            bool written = file != nullptr &&
                           std::fwrite(entry.Content.data(), 1, entry.Content.size(), file) ==
                               entry.Content.size();
            if (file != nullptr) {
                written &= std::fclose(file) == 0;
            }
            if (!written) {
                std::fprintf(stderr, "make_fat_db: cannot write %s\n", path.c_str());
                return 1;
            }
        }
        std::printf("%s\t%s\t%s\t%d\n", entry.Url.c_str(), entry.FileName.c_str(),
                    entry.ContentType.c_str(), entry.Time);
    }
    return 0;
}
