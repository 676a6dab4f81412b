// Deleting an entry from an Internet Explorer cache whose index.dat was patched.
//
// Input: the first byte says how many deletes follow each other (one or two), the
// next bytes which entry each deletes (an index into the listing, taken modulo its
// length), and the rest is a list of 3-byte patches, a 16-bit place and the byte to
// put there, applied to a sound index built here: two cache directories, a group
// data block, plain, sticky, grouped and file-less entries, a redirect, a LEAK
// record and a deleted slot. Most inputs therefore reach the delete itself. A place
// below 0x8000 picks one of the bytes that carry structure (the header, the used
// part of the bitmap, the used slots and every record byte that is not filler), so
// that single patches reach offsets and counts; any other place is a file offset
// (modulo the file size).
//
// After each delete the index must read as sound, list the same entries less the
// one deleted, each unchanged, and differ from the index before only where a delete
// writes: the header's counters, the LEAK chain head and the bitmap, the deleted
// record and its slot, the LEAK records freed or relinked, and the disk usage of
// their group entries. A delete that is refused, or whose entry is damaged, leaves
// the file byte for byte as it was.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "fuzz_scratch.h"
#include "ie_index_builder.h"
#include "model/file_utils.h"
#include "platform/byte_reader.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "readers/ie_index_file.h"
#include "readers/ie_url_cache_delete.h"

namespace arkivo::fuzz {
namespace {

using namespace arkivo::ie_index;
using namespace arkivo::ie_fixture;

#define REQUIRE(condition)                                                     \
    do {                                                                       \
        if (!(condition)) {                                                    \
            std::fprintf(stderr, "ie_delete_fuzzer: %s failed\n", #condition); \
            std::abort();                                                      \
        }                                                                      \
    } while (0)

struct Cache {
    std::string Index;
    std::vector<std::pair<std::string, std::string>> Files;  // path in the cache, bytes
};

Cache MakeCache() {
    const std::vector<std::string> dirs = {"DIRA0001", "DIRB0002"};
    IndexBuilder builder(Signature, dirs);
    builder.AddGroup();
    builder.AddHashTable();
    Cache cache;
    const auto add = [&](CacheEntryPlan entry) {
        if (!entry.FileName.empty()) {
            const std::string dir = entry.Directory == NoDirectory ? "" : dirs[entry.Directory];
            cache.Files.emplace_back(JoinPath(dir, entry.FileName), entry.Content);
        }
        return builder.AddUrl(entry);
    };
    const std::string header = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
    const std::uint32_t home = add({.Location = "http://a.example/",
                                    .FileName = "index[1].htm",
                                    .Header = header,
                                    .Content = "<p>a</p>"});
    add({.Location = "http://a.example/logo.gif",
         .FileName = "logo[1].gif",
         .Directory = 1,
         .Content = "GIF89a"});
    add({.Location = "http://b.example/sticky.png",
         .FileName = "sticky[1].png",
         .Directory = 1,
         .Header = header,
         .Flags = 0x45,
         .Content = "png",
         .Grouped = true});
    add({.Location = "http://b.example/grouped.js",
         .FileName = "grouped[1].js",
         .Content = "js();",
         .Grouped = true});
    add({.Location = "http://c.example/none", .Header = header});
    add({.Location = "http://c.example/root.txt",
         .FileName = "root[1].txt",
         .Directory = NoDirectory,
         .Content = "root"});
    builder.AddRedirect("http://a.example/old", home);
    const CacheEntryPlan leak{
        .Location = "http://a.example/leak", .FileName = "leak[1].htm", .Content = "leak"};
    cache.Files.emplace_back(JoinPath(dirs[0], leak.FileName), leak.Content);
    builder.AddLeak(leak);
    builder.AddDeletedEntry({.Location = "http://a.example/gone",
                             .FileName = "gone[1].htm",
                             .Directory = 1,
                             .Content = "gone"});
    cache.Index = builder.Finish();
    return cache;
}

// The offsets of the bytes of index that carry structure: all but filler, free hash
// slots and the unused tail of the bitmap.
std::vector<std::uint32_t> StructureBytes(const std::string& index) {
    const ByteReader in(index);
    const std::uint32_t table = *in.U32LE(FirstHashOffset);
    const std::uint32_t blocks = *in.U32LE(TotalBlocksOffset);
    std::vector<std::uint32_t> offsets;
    for (std::uint32_t at = 0; at < index.size(); at += 4) {
        const std::uint32_t value = *in.U32LE(at);
        const bool freeSlot = at >= table + HashSlotsOffset &&
                              at < table + HashSlotsOffset + HashSlotCount * HashSlotSize &&
                              value == SlotFree;
        const bool unusedBitmap = at >= BitmapOffset + blocks / 8 && at < BlocksOffset;
        const bool filler = at >= BlocksOffset && (value == Filler || value == 0);
        if (!freeSlot && !unusedBitmap && !filler) {
            for (std::uint32_t i = 0; i < 4; ++i) {
                offsets.push_back(at + i);
            }
        }
    }
    return offsets;
}

auto Fields(const IeUrlRecord& r) {
    return std::tie(r.Offset, r.SlotOffset, r.SlotFlags, r.Blocks, r.Location, r.FileName,
                    r.DirectoryIndex, r.HeaderText, r.LastAccessTime, r.LastSyncTime, r.FileSize,
                    r.EntryFlags, r.GroupOffset, r.Damage);
}

bool SameEntries(const std::vector<IeUrlRecord>& a, const std::vector<IeUrlRecord>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Fields(a[i]) != Fields(b[i])) {
            return false;
        }
    }
    return true;
}

// Marks the bytes a delete may change, given the index before it and the entry it
// deletes (none: the run only finishes earlier LEAK records).
std::vector<bool> Writable(const IeIndex& index, const IeUrlRecord* target, std::size_t size) {
    std::vector<bool> writable(size, false);
    const auto allow = [&](std::uint64_t offset, std::uint64_t count) {
        for (std::uint64_t i = offset; i < offset + count && i < size; ++i) {
            writable[i] = true;
        }
    };
    allow(AllocatedBlocksOffset, 4);
    allow(CacheUsageOffset, 16);  // cache and exempt usage
    for (std::size_t i = 0; i < index.Directories.size(); ++i) {
        allow(DirectoryTableOffset + i * DirectoryEntrySize, 4);
    }
    allow(FirstLeakOffset, 4);
    allow(BitmapOffset, BlocksOffset - BitmapOffset);
    const auto record = [&](const IeUrlRecord& r) {
        allow(r.Offset, std::uint64_t{r.Blocks} * BlockSize);
        if (r.GroupOffset != 0) {
            allow(std::uint64_t{r.GroupOffset} + GroupDiskUsage, 8);
        }
    };
    if (target != nullptr) {
        record(*target);
        allow(target->SlotOffset, 4);
    }
    for (const IeUrlRecord& leak : index.Leaks) {
        record(leak);
    }
    for (const std::uint32_t leak : index.LeakChain) {
        allow(std::uint64_t{leak} + UrlNextLeak, 4);
    }
    return writable;
}

std::string ReadIndex(const std::string& path) {
    auto bytes = ReadWholeFile(path);
    REQUIRE(bytes.has_value());
    return std::move(*bytes);
}

void DeleteAndCheck(const std::string& cache, std::uint8_t choice) {
    const std::string indexPath = cache + "index.dat";
    const std::string before = ReadIndex(indexPath);
    IeIndex old;
    const bool parsed = ParseIndexFile(before, old).ok();

    UrlCacheDeleteHooks hooks;
    hooks.ReplaceIndex = [](const std::string& path, std::string_view bytes) {
        return WriteFileAtomically(path, bytes, Durability::Unsynced);
    };
    // The editor holds the cache locked until it goes.
    std::optional<UrlCacheEditor> editor(std::in_place, hooks);
    if (!editor->Open(cache).ok()) {
        REQUIRE(ReadIndex(indexPath) == before);
        return;
    }
    REQUIRE(parsed && old.IsSound());
    const IeUrlRecord* target = nullptr;
    if (!old.Urls.empty()) {
        // The editor chooses by location: the first entry listed under it.
        const std::string& location = old.Urls[choice % old.Urls.size()].Location;
        target = &*std::find_if(old.Urls.begin(), old.Urls.end(),
                                [&](const IeUrlRecord& url) { return url.Location == location; });
        if (!editor->Choose(location).ok()) {
            editor.reset();
            REQUIRE(ReadIndex(indexPath) == before);
            return;
        }
        REQUIRE(target->Damage.empty());
    }
    const UrlCacheDeletion run = editor->Run();
    editor.reset();
    REQUIRE(run.Outcome.ok());

    const std::string after = ReadIndex(indexPath);
    REQUIRE(after.size() == before.size());
    IeIndex now;
    REQUIRE(ParseIndexFile(after, now).ok());
    REQUIRE(now.IsSound());
    std::vector<IeUrlRecord> expected;
    for (const IeUrlRecord& url : old.Urls) {
        if (&url != target) {
            expected.push_back(url);
        }
    }
    REQUIRE(SameEntries(now.Urls, expected));
    if (target != nullptr) {
        const bool marked = run.States.front() == UrlCacheEntryState::MarkedForDeletion;
        bool inChain = false;
        for (const std::uint32_t leak : now.LeakChain) {
            inChain = inChain || leak == target->Offset;
        }
        REQUIRE(marked == inChain);
    }
    const std::vector<bool> writable = Writable(old, target, before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        REQUIRE(before[i] == after[i] || writable[i]);
    }
}

}  // namespace
}  // namespace arkivo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace arkivo;
    static const fuzz::Cache sample = fuzz::MakeCache();
    static const std::vector<std::uint32_t> structure = fuzz::StructureBytes(sample.Index);
    static const std::string cache = fuzz::ScratchDir() + "Content.IE5/";
    if (size < 2) {
        return 0;
    }
    const std::size_t deletes = 1 + data[0] % 2;
    if (size < 1 + deletes) {
        return 0;
    }
    std::string index = sample.Index;
    for (std::size_t at = 1 + deletes; at + 3 <= size; at += 3) {
        const std::size_t place = data[at] | std::size_t{data[at + 1]} << 8;
        const std::size_t offset =
            place < 0x8000 ? structure[place % structure.size()] : place % index.size();
        index[offset] = static_cast<char>(data[at + 2]);
    }
    for (const auto& [path, bytes] : sample.Files) {
        MakeDirectoryPath(DirectoryPart(cache + path));
        fuzz::WriteBytes(cache + path, bytes);
    }
    fuzz::WriteBytes(cache + "index.dat", index);
    for (std::size_t i = 0; i < deletes; ++i) {
        fuzz::DeleteAndCheck(cache, data[1 + i]);
    }
    return 0;
}
