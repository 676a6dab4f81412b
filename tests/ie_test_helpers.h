#pragma once
// What the Internet Explorer cache tests share: the fixtures, copies of caches to
// change, msiecfexport (Debian's libmsiecf-utils) as an independent reader of
// index.dat, and delete hooks that make a step fail.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/byte_reader.h"
#include "platform/file_system.h"
#include "readers/ie_index_file.h"
#include "readers/ie_url_cache_delete.h"
#include "support/test_support.h"

namespace arkivo::testing {

// The real index files; the Content.IE5 one is the only one with cache directories.
inline const std::vector<std::string> RealIndexFiles = {
    "plaso-Content.IE5-index.dat", "plaso-History.IE5-index.dat",
    "plaso-MSHist012013031020130311-index.dat", "grr-History-index.dat"};

inline std::string IeFixture(const std::string& name) {
    return TestDataDir() + "ie/" + name + "/";
}

inline std::string RealIndex(const std::string& name) {
    return SharedDataDir() + "iecache/" + name;
}

// Copies a fixture's whole cache directory into dir (which ends with "/").
inline std::string CopyCache(const std::string& from, const std::string& dir) {
    const std::string to = dir + "Content.IE5/";
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
    return to;
}

// One record as msiecfexport lists it.
struct ExportedRecord {
    std::string Type;  // "URL", "REDR", "LEAK"
    std::uint32_t Offset = 0;
    std::string Location;
    std::string FileName;
    int DirectoryIndex = -1;

    auto Key() const { return std::tie(Offset, Type, Location, FileName, DirectoryIndex); }
    bool operator<(const ExportedRecord& other) const { return Key() < other.Key(); }
    bool operator==(const ExportedRecord& other) const { return Key() == other.Key(); }
};

inline void PrintTo(const ExportedRecord& record, std::ostream* out) {
    *out << record.Type << "@" << record.Offset << " " << record.Location << " [" << record.FileName
         << " in " << record.DirectoryIndex << "]";
}

inline bool HaveMsiecfexport() {
    return std::system("msiecfexport -V >/dev/null 2>&1") == 0;
}

#define ARKIVO_REQUIRE_MSIECFEXPORT()                                                   \
    do {                                                                                \
        if (!::arkivo::testing::HaveMsiecfexport()) {                                   \
            GTEST_SKIP() << "msiecfexport (libmsiecf-utils) is not installed; skipped"; \
        }                                                                               \
    } while (0)

// The records msiecfexport lists for the file, sorted; std::nullopt when it cannot
// read the file.
inline std::optional<std::vector<ExportedRecord>> MsiecfExport(const std::string& path) {
    const std::string command = "msiecfexport -c windows-1252 '" + path + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    std::vector<ExportedRecord> records;
    char line[65536];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
            text.pop_back();
        }
        const std::size_t colon = text.find("\t: ");
        if (colon == std::string::npos) {
            continue;
        }
        std::string name = text.substr(0, colon);
        name.erase(name.find_last_not_of('\t') + 1);
        const std::string value = text.substr(colon + 3);
        if (name == "Record type") {
            records.push_back({value, 0, {}, {}, -1});
        } else if (records.empty()) {
            continue;
        } else if (name == "Offset range") {
            records.back().Offset = static_cast<std::uint32_t>(std::stoul(value));
        } else if (name == "Location") {
            records.back().Location = value;
        } else if (name == "Filename") {
            records.back().FileName = value;
        } else if (name == "Cache directory index") {
            records.back().DirectoryIndex = std::stoi(value);
        }
    }
    if (::pclose(pipe) != 0) {
        return std::nullopt;
    }
    std::sort(records.begin(), records.end());
    return records;
}

// Only the records of one type.
inline std::vector<ExportedRecord> OfType(const std::vector<ExportedRecord>& records,
                                          const std::string& type) {
    std::vector<ExportedRecord> result;
    std::copy_if(records.begin(), records.end(), std::back_inserter(result),
                 [&](const ExportedRecord& record) { return record.Type == type; });
    return result;
}

// Our live URL records in msiecfexport's terms, sorted.
inline std::vector<ExportedRecord> AsExported(const IeIndex& index) {
    std::vector<ExportedRecord> records;
    for (const IeUrlRecord& url : index.Urls) {
        // msiecfexport shows the directory index as a signed byte.
        records.push_back({"URL", url.Offset, url.Location, url.FileName,
                           static_cast<std::int8_t>(url.DirectoryIndex)});
    }
    std::sort(records.begin(), records.end());
    return records;
}

// Our LEAK records in msiecfexport's terms (it shows no location for them), sorted.
inline std::vector<ExportedRecord> LeaksAsExported(const IeIndex& index) {
    std::vector<ExportedRecord> records;
    for (const IeUrlRecord& leak : index.Leaks) {
        records.push_back({"LEAK",
                           leak.Offset,
                           {},
                           leak.FileName,
                           static_cast<std::int8_t>(leak.DirectoryIndex)});
    }
    std::sort(records.begin(), records.end());
    return records;
}

// The number of allocated blocks the bitmap marks.
inline std::uint32_t BitmapCount(const std::string& bytes) {
    std::uint32_t count = 0;
    for (std::uint32_t i = ie_index::BitmapOffset; i < ie_index::BlocksOffset && i < bytes.size();
         ++i) {
        count += static_cast<std::uint32_t>(std::popcount(static_cast<std::uint8_t>(bytes[i])));
    }
    return count;
}

// Hooks that keep every index a run writes, and write it; from the write numbered
// failFrom on (1 = the first) the write fails instead.
inline UrlCacheDeleteHooks RecordingWrites(std::vector<std::string>& written,
                                           std::size_t failFrom = 0) {
    UrlCacheDeleteHooks hooks;
    hooks.ReplaceIndex = [&written, failFrom](const std::string& path, std::string_view bytes) {
        if (failFrom != 0 && written.size() + 1 >= failFrom) {
            return Status::Error(StatusCode::WriteFailed, "cannot write " + path + ": disk full");
        }
        written.emplace_back(bytes);
        return WriteFileAtomically(path, bytes);
    };
    return hooks;
}

// Hooks under which the named cached file cannot be removed, as one in use.
inline UrlCacheDeleteHooks KeepingFile(const std::string& name) {
    UrlCacheDeleteHooks hooks;
    hooks.RemoveFile = [name](const std::string& path) {
        if (path.ends_with("/" + name)) {
            return EBUSY;
        }
        return ::unlink(path.c_str()) == 0 ? 0 : errno;
    };
    return hooks;
}

inline std::uint32_t HeaderU32(const std::string& bytes, std::uint32_t offset) {
    return ByteReader(bytes).U32LE(offset).value_or(0);
}

// The bytes with the little-endian dword at offset set to value, as an attacker
// would patch an index.
inline std::string WithU32(std::string bytes, std::uint32_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>(value >> (8 * i));
    }
    return bytes;
}

// The index in the file at path, which the test expects to parse.
inline IeIndex ParseFile(const std::string& path) {
    IeIndex index;
    EXPECT_TRUE(ParseIndexFile(ReadFile(path), index).ok()) << path;
    return index;
}

// The URL record of location; nullptr when the index has none.
inline const IeUrlRecord* FindRecord(const IeIndex& index, std::string_view location) {
    for (const IeUrlRecord& url : index.Urls) {
        if (url.Location == location) {
            return &url;
        }
    }
    return nullptr;
}

}  // namespace arkivo::testing
