#include "readers/ie_url_cache_delete.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "ie_test_helpers.h"
#include "platform/file_system.h"
#include "readers/ie_index_edit.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;
using namespace arkivo::ie_index;

std::uint64_t HeaderU64(const std::string& bytes, std::uint32_t offset) {
    return ByteReader(bytes).U64LE(offset).value_or(0);
}

// After a change the index is sound, msiecfexport reads it and lists exactly our
// entries and LEAK records, and the header counts the blocks the bitmap marks.
void ExpectReadableAndSound(const std::string& indexPath) {
    const std::string bytes = ReadFile(indexPath);
    IeIndex index;
    ASSERT_TRUE(ParseIndexFile(bytes, index).ok());
    EXPECT_TRUE(index.IsSound()) << index.Damage.front();
    EXPECT_EQ(HeaderU32(bytes, AllocatedBlocksOffset), BitmapCount(bytes));
    if (HaveMsiecfexport()) {
        const auto exported = MsiecfExport(indexPath);
        ASSERT_TRUE(exported) << "msiecfexport cannot read " << indexPath;
        EXPECT_EQ(AsExported(index), OfType(*exported, "URL"));
        EXPECT_EQ(LeaksAsExported(index), OfType(*exported, "LEAK"));
    }
}

// The same for an index held in bytes, such as one a step wrote.
void ExpectSound(std::string_view bytes) {
    TempDir temp;
    WriteFile(temp / "index.dat", bytes);
    ExpectReadableAndSound(temp / "index.dat");
}

// A run with nothing chosen: it only finishes the LEAK records already there.
UrlCacheDeletion FinishEarlierRuns(const std::string& cache, UrlCacheDeleteHooks hooks = {}) {
    UrlCacheEditor editor(std::move(hooks));
    EXPECT_TRUE(editor.Open(cache).ok());
    return editor.Run();
}

// Deletes every entry of the cache in one run.
UrlCacheDeletion DeleteAll(const std::string& cache, UrlCacheDeleteHooks hooks = {}) {
    const IeIndex index = ParseFile(cache + "index.dat");
    UrlCacheEditor editor(std::move(hooks));
    EXPECT_TRUE(editor.Open(cache).ok());
    for (const IeUrlRecord& url : index.Urls) {
        EXPECT_TRUE(editor.Choose(url.Location).ok()) << url.Location;
        EXPECT_EQ(editor.Choose(url.Location).code(), StatusCode::NotFound);
    }
    return editor.Run();
}

std::size_t CountOf(const std::vector<UrlCacheEntryState>& states, UrlCacheEntryState state) {
    return static_cast<std::size_t>(std::count(states.begin(), states.end(), state));
}

TEST(DeleteUrlCacheEntry, FreesEachEntryOfTheTypicalFixture) {
    const IeIndex original = ParseFile(IeFixture("typical") + "index.dat");
    for (const IeUrlRecord& target : original.Urls) {
        SCOPED_TRACE(target.Location);
        TempDir temp;
        const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
        // Free the fixture's LEAK record first, so that only the target's changes remain.
        ASSERT_EQ(FinishEarlierRuns(cache).EarlierDeleted, 1u);
        const std::string before = ReadFile(cache + "index.dat");
        const std::string file =
            target.FileName.empty()
                ? std::string()
                : FindFileNoCase(
                      FindFileNoCase(cache, original.Directories[target.DirectoryIndex].Name),
                      target.FileName);

        std::vector<std::string> written;
        ASSERT_TRUE(DeleteUrlCacheEntry(cache, target.Location, RecordingWrites(written)).ok());
        ASSERT_EQ(written.size(), 2u);
        // Step 1: the entry became the only LEAK record; nothing is freed yet.
        ExpectSound(written[0]);
        EXPECT_EQ(written[0].substr(target.Offset, 4), "LEAK");
        EXPECT_EQ(HeaderU32(written[0], FirstLeakOffset), target.Offset);
        EXPECT_EQ(HeaderU32(written[0], target.SlotOffset), SlotDeleted);
        EXPECT_EQ(written[0].substr(0, BlocksOffset).substr(AllocatedBlocksOffset, 4),
                  before.substr(AllocatedBlocksOffset, 4));
        // Step 3: the record is freed.
        ExpectReadableAndSound(cache + "index.dat");
        const std::string bytes = ReadFile(cache + "index.dat");
        EXPECT_EQ(bytes, written[1]);
        const IeIndex after = ParseFile(cache + "index.dat");
        EXPECT_EQ(after.Urls.size(), original.Urls.size() - 1);
        EXPECT_EQ(FindRecord(after, target.Location), nullptr);
        EXPECT_TRUE(after.LeakChain.empty());
        EXPECT_FALSE(FileExists(file)) << file;
        EXPECT_EQ(bytes.size(), before.size());
        EXPECT_EQ(HeaderU32(bytes, AllocatedBlocksOffset),
                  HeaderU32(before, AllocatedBlocksOffset) - target.Blocks);
        const std::uint32_t count =
            DirectoryTableOffset + target.DirectoryIndex * DirectoryEntrySize;
        EXPECT_EQ(HeaderU32(bytes, count), HeaderU32(before, count) - 1);
        const bool sticky = (target.EntryFlags & StickyEntry) != 0;
        const std::uint32_t usage = sticky ? ExemptUsageOffset : CacheUsageOffset;
        EXPECT_EQ(HeaderU64(bytes, usage), HeaderU64(before, usage) - target.FileSize);
        if (target.GroupOffset != 0) {
            const std::uint32_t group = target.GroupOffset + GroupDiskUsage;
            EXPECT_EQ(HeaderU64(bytes, group), HeaderU64(before, group) - target.FileSize);
        }
        // The freed blocks are wiped.
        EXPECT_EQ(bytes.substr(target.Offset, target.Blocks * BlockSize),
                  std::string(target.Blocks * BlockSize, '\0'));
    }
}

TEST(DeleteUrlCacheEntry, DeletesEveryEntryInOneRun) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    const std::size_t entries = ParseFile(cache + "index.dat").Urls.size();
    const UrlCacheDeletion run = DeleteAll(cache);
    ASSERT_TRUE(run.Outcome.ok()) << run.Outcome.message();
    EXPECT_EQ(CountOf(run.States, UrlCacheEntryState::Deleted), entries);
    // The fixture's own LEAK record is finished too.
    EXPECT_EQ(run.EarlierDeleted, 1u);
    EXPECT_EQ(run.EarlierMarked, 0u);
    EXPECT_FALSE(FileExists(cache + "ABCD1234/leaked[1].htm"));
    ExpectReadableAndSound(cache + "index.dat");
    const IeIndex after = ParseFile(cache + "index.dat");
    EXPECT_TRUE(after.Urls.empty());
    EXPECT_TRUE(after.LeakChain.empty());
    // Only the redirects stay.
    if (HaveMsiecfexport()) {
        const auto exported = MsiecfExport(cache + "index.dat");
        ASSERT_TRUE(exported);
        EXPECT_EQ(OfType(*exported, "REDR").size(), 2u);
        EXPECT_EQ(exported->size(), 2u);
    }
}

TEST(DeleteUrlCacheEntry, DeletesFromTheRealContentIndex) {
    ARKIVO_REQUIRE_SHARED_DATA();
    const std::string dirs[] = {"ENG3X4ZR", "5ZBG4UOD", "5F9C7HL9", "F4MAMNDH"};
    TempDir temp;
    WriteFile(temp / "index.dat", ReadFile(RealIndex("plaso-Content.IE5-index.dat")));
    const IeIndex original = ParseFile(temp / "index.dat");
    for (const IeUrlRecord& url : original.Urls) {
        WriteFile(temp / (dirs[url.DirectoryIndex] + "/" + url.FileName), "x");
    }
    for (const IeUrlRecord& url : original.Urls) {
        ASSERT_TRUE(DeleteUrlCacheEntry(temp.Path(), url.Location).ok()) << url.Location;
        EXPECT_FALSE(FileExists(temp / (dirs[url.DirectoryIndex] + "/" + url.FileName)));
        ExpectReadableAndSound(temp / "index.dat");
    }
    EXPECT_TRUE(ParseFile(temp / "index.dat").Urls.empty());
}

// A record turned into a LEAK record keeps its blocks and counts.
TEST(DeleteUrlCacheEntry, TurnsARecordIntoALeak) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    std::string bytes = ReadFile(cache + "index.dat");
    const IeIndex original = ParseFile(cache + "index.dat");
    const IeUrlRecord target = *FindRecord(original, "http://www.example.com/index.html");
    LeakUrlRecord(bytes, target);
    WriteFile(cache + "index.dat", bytes);
    ExpectReadableAndSound(cache + "index.dat");
    EXPECT_EQ(HeaderU32(bytes, FirstLeakOffset), target.Offset);
    EXPECT_EQ(HeaderU32(bytes, target.Offset + UrlNextLeak), original.LeakChain.front());
    EXPECT_EQ(HeaderU32(bytes, AllocatedBlocksOffset),
              HeaderU32(ReadFile(IeFixture("typical") + "index.dat"), AllocatedBlocksOffset));
    EXPECT_EQ(ParseFile(cache + "index.dat").Leaks.size(), 2u);
}

// A file that cannot be removed leaves its entry marked for deletion: no longer
// listed, still counted, and finished by a later run once the file can go.
TEST(DeleteUrlCacheEntry, AFileThatCannotBeRemovedStaysMarkedForDeletion) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    const IeIndex original = ParseFile(cache + "index.dat");
    const IeUrlRecord stuck = *FindRecord(original, "http://www.example.com/index.html");
    const IeUrlRecord other = *FindRecord(original, "http://www.example.com/plain.txt");
    const std::string before = ReadFile(cache + "index.dat");

    UrlCacheEditor editor(KeepingFile("index[1].htm"));
    ASSERT_TRUE(editor.Open(cache).ok());
    ASSERT_TRUE(editor.Choose(stuck.Location).ok());
    ASSERT_TRUE(editor.Choose(other.Location).ok());
    const UrlCacheDeletion run = editor.Run();
    ASSERT_TRUE(run.Outcome.ok()) << run.Outcome.message();
    EXPECT_EQ(run.States,
              (std::vector{UrlCacheEntryState::MarkedForDeletion, UrlCacheEntryState::Deleted}));
    EXPECT_TRUE(FileExists(cache + "ABCD1234/index[1].htm"));
    EXPECT_FALSE(FileExists(cache + "efgh5678/plain[1].txt"));
    ExpectReadableAndSound(cache + "index.dat");
    const std::string bytes = ReadFile(cache + "index.dat");
    const IeIndex after = ParseFile(cache + "index.dat");
    EXPECT_EQ(FindRecord(after, stuck.Location), nullptr);
    EXPECT_EQ(after.LeakChain, std::vector<std::uint32_t>{stuck.Offset});
    // Still counted: only the other entry and the fixture's LEAK record were freed.
    EXPECT_EQ(HeaderU32(bytes, AllocatedBlocksOffset),
              HeaderU32(before, AllocatedBlocksOffset) - other.Blocks - original.Leaks[0].Blocks);
    EXPECT_EQ(HeaderU32(bytes, DirectoryTableOffset), HeaderU32(before, DirectoryTableOffset) - 1);

    // While the file stays, later runs keep the record; then one finishes it.
    EXPECT_TRUE(
        DeleteUrlCacheEntry(cache, "http://www.example.com/nospace.js", KeepingFile("index[1].htm"))
            .ok());
    const UrlCacheDeletion kept = FinishEarlierRuns(cache, KeepingFile("index[1].htm"));
    EXPECT_EQ(kept.EarlierMarked, 1u);
    EXPECT_EQ(kept.EarlierDeleted, 0u);
    const UrlCacheDeletion finished = FinishEarlierRuns(cache);
    ASSERT_TRUE(finished.Outcome.ok());
    EXPECT_EQ(finished.EarlierDeleted, 1u);
    EXPECT_EQ(finished.EarlierMarked, 0u);
    EXPECT_FALSE(FileExists(cache + "ABCD1234/index[1].htm"));
    EXPECT_TRUE(ParseFile(cache + "index.dat").LeakChain.empty());
    ExpectReadableAndSound(cache + "index.dat");

    // One entry alone says so.
    const Status single = DeleteUrlCacheEntry(cache, "http://www.example.com/later-sync.html",
                                              KeepingFile("later-sync[1].htm"));
    EXPECT_EQ(single.code(), StatusCode::WriteFailed);
    EXPECT_NE(single.message().find("marked for deletion"), std::string::npos);
}

// When the first write fails, nothing has changed: no file is removed and every
// entry is still listed.
TEST(DeleteUrlCacheEntry, NothingChangesWhenTheIndexCannotBeWritten) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    const std::string before = ReadFile(cache + "index.dat");
    const auto filesBefore =
        std::distance(std::filesystem::recursive_directory_iterator(temp.Path()), {});
    std::vector<std::string> written;
    const UrlCacheDeletion run = DeleteAll(cache, RecordingWrites(written, 1));
    EXPECT_EQ(run.Outcome.code(), StatusCode::WriteFailed);
    EXPECT_TRUE(run.Outcome.message().ends_with("disk full; nothing was deleted"))
        << run.Outcome.message();
    EXPECT_EQ(CountOf(run.States, UrlCacheEntryState::NotDeleted), run.States.size());
    EXPECT_EQ(run.EarlierMarked, 1u);
    EXPECT_EQ(run.EarlierDeleted, 0u);
    EXPECT_EQ(ReadFile(cache + "index.dat"), before);
    EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(temp.Path()), {}),
              filesBefore);
}

// When the last write fails, the files are gone and their entries stay LEAK
// records, no longer listed; the next run frees them as a whole run would have.
TEST(DeleteUrlCacheEntry, AFailedCleanUpIsFinishedByTheNextRun) {
    TempDir temp, reference;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    const std::size_t entries = ParseFile(cache + "index.dat").Urls.size();
    std::vector<std::string> written;
    const UrlCacheDeletion run = DeleteAll(cache, RecordingWrites(written, 2));
    EXPECT_EQ(run.Outcome.code(), StatusCode::WriteFailed);
    EXPECT_NE(run.Outcome.message().find("the index clean-up is pending"), std::string::npos)
        << run.Outcome.message();
    EXPECT_EQ(CountOf(run.States, UrlCacheEntryState::Deleted), entries);
    EXPECT_EQ(run.EarlierDeleted, 1u);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(ReadFile(cache + "index.dat"), written[0]);
    ExpectReadableAndSound(cache + "index.dat");
    const IeIndex marked = ParseFile(cache + "index.dat");
    EXPECT_TRUE(marked.Urls.empty());
    EXPECT_EQ(marked.Leaks.size(), entries + 1);
    for (const IeUrlRecord& leak : marked.Leaks) {
        if (!leak.FileName.empty()) {
            EXPECT_TRUE(FindFileNoCase(cache + "/" + marked.Directories[leak.DirectoryIndex].Name,
                                       leak.FileName)
                            .empty())
                << leak.FileName;
        }
    }

    const UrlCacheDeletion next = FinishEarlierRuns(cache);
    ASSERT_TRUE(next.Outcome.ok()) << next.Outcome.message();
    EXPECT_EQ(next.EarlierDeleted, entries + 1);
    EXPECT_EQ(next.EarlierMarked, 0u);
    const std::string referenceCache = CopyCache(IeFixture("typical"), reference.Path());
    ASSERT_TRUE(DeleteAll(referenceCache).Outcome.ok());
    EXPECT_EQ(ReadFile(cache + "index.dat"), ReadFile(referenceCache + "index.dat"));
}

// A LEAK record naming the file of a listed entry is freed, but the file stays.
TEST(DeleteUrlCacheEntry, NeverRemovesTheFileOfAListedEntry) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    std::string bytes = ReadFile(cache + "index.dat");
    const IeUrlRecord leak = ParseFile(cache + "index.dat").Leaks.front();
    const std::size_t name = bytes.find("leaked[1].htm", leak.Offset);
    bytes.replace(name, 13, std::string("INDEX[1].htm\0", 13));
    WriteFile(cache + "index.dat", bytes);

    const UrlCacheDeletion run = FinishEarlierRuns(cache);
    EXPECT_EQ(run.EarlierDeleted, 1u);
    EXPECT_TRUE(ParseFile(cache + "index.dat").LeakChain.empty());
    EXPECT_TRUE(FileExists(cache + "ABCD1234/index[1].htm"));
    EXPECT_NE(FindRecord(ParseFile(cache + "index.dat"), "http://www.example.com/index.html"),
              nullptr);
}

// A run holds the cache from reading its index to its last write.
TEST(DeleteUrlCacheEntry, OneRunAtATime) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    UrlCacheEditor first, second;
    ASSERT_TRUE(first.Open(cache).ok());
    const Status refused = second.Open(cache + "index.dat");
    EXPECT_EQ(refused.code(), StatusCode::Refused);
    EXPECT_NE(refused.message().find("another delete is running"), std::string::npos);
    ASSERT_TRUE(first.Choose("http://www.example.com/index.html").ok());
    ASSERT_TRUE(first.Run().Outcome.ok());
    EXPECT_TRUE(second.Open(cache).ok());
    // It reads the index the first run wrote.
    EXPECT_EQ(second.Choose("http://www.example.com/index.html").code(), StatusCode::NotFound);
}

// Two processes set off to delete every entry at once: one run at a time, each
// reading the index once it holds the lock, so exactly one of them deletes the
// entries and the other finds them gone or is refused.
TEST(DeleteUrlCacheEntry, TwoProcessesNeverBothDeleteTheSameEntries) {
    enum Outcome { DeletedAll, FoundNone, Refused, Failed };
    const IeIndex original = ParseFile(IeFixture("typical") + "index.dat");
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        TempDir temp;
        const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        std::vector<pid_t> children;
        for (int i = 0; i < 2; ++i) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                ::close(start[1]);
                char byte;
                (void)::read(start[0], &byte, 1);  // returns when the parent closes the pipe
                UrlCacheEditor editor;
                if (!editor.Open(cache).ok()) {
                    ::_exit(Refused);
                }
                std::size_t chosen = 0;
                for (const IeUrlRecord& url : original.Urls) {
                    chosen += editor.Choose(url.Location).ok() ? 1 : 0;
                }
                const UrlCacheDeletion run = editor.Run();
                const bool ok =
                    run.Outcome.ok() && CountOf(run.States, UrlCacheEntryState::Deleted) == chosen;
                ::_exit(!ok ? Failed : chosen == 0 ? FoundNone : DeletedAll);
            }
            children.push_back(child);
        }
        ::close(start[0]);
        ::close(start[1]);
        int deleters = 0;
        for (const pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_NE(WEXITSTATUS(status), Failed);
            deleters += WEXITSTATUS(status) == DeletedAll ? 1 : 0;
        }
        EXPECT_EQ(deleters, 1);
        EXPECT_TRUE(ParseFile(cache + "index.dat").Urls.empty());
        ExpectReadableAndSound(cache + "index.dat");
    }
}

// A URL record whose group offset names no group entry is listed but never changed:
// deleting it alone writes nothing, and a run choosing it with another entry deletes
// only the other. Unchecked, deleting this sticky entry lowered the directory count
// through offset 0x34 and a hash slot's key through 0x5010 (the fixture's table
// starts at 0x5000), leaving an index the next delete refused.
TEST(DeleteUrlCacheEntry, NeverWritesThroughAHostileGroupOffset) {
    const IeUrlRecord target = *FindRecord(ParseFile(IeFixture("typical") + "index.dat"),
                                           "http://static.example.net/sticky.png");
    const std::string other = "http://www.example.com/plain.txt";
    for (const std::uint32_t group : {0x34u, 0x5010u, target.Offset, 0xDEADBEEFu}) {
        SCOPED_TRACE(group);
        TempDir temp;
        const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
        const std::string bytes =
            WithU32(ReadFile(cache + "index.dat"), target.Offset + UrlGroupOffset, group);
        WriteFile(cache + "index.dat", bytes);
        const auto exported = HaveMsiecfexport() ? MsiecfExport(cache + "index.dat") : std::nullopt;

        const Status refused = DeleteUrlCacheEntry(cache, target.Location);
        EXPECT_EQ(refused.code(), StatusCode::Refused);
        EXPECT_NE(refused.message().find("damaged"), std::string::npos) << refused.message();
        EXPECT_TRUE(ReadFile(cache + "index.dat") == bytes);
        EXPECT_EQ(HaveMsiecfexport() ? MsiecfExport(cache + "index.dat") : std::nullopt, exported);

        UrlCacheEditor editor;
        ASSERT_TRUE(editor.Open(cache).ok());
        EXPECT_EQ(editor.Choose(target.Location).code(), StatusCode::Refused);
        ASSERT_TRUE(editor.Choose(other).ok());
        const UrlCacheDeletion run = editor.Run();
        ASSERT_TRUE(run.Outcome.ok()) << run.Outcome.message();
        EXPECT_EQ(run.States, std::vector{UrlCacheEntryState::Deleted});
        const std::string after = ReadFile(cache + "index.dat");
        const std::size_t size = target.Blocks * BlockSize;
        EXPECT_TRUE(after.substr(target.Offset, size) == bytes.substr(target.Offset, size));
        EXPECT_EQ(HeaderU32(after, DirectoryCountOffset), 4u);
        EXPECT_TRUE(FileExists(cache + "IJKL9012/sticky[1].png"));
        ExpectReadableAndSound(cache + "index.dat");
        if (exported) {
            // msiecfexport lists what it did before, less the deleted entry and the
            // fixture's LEAK record the run finished.
            std::vector<ExportedRecord> expected = OfType(*exported, "URL");
            std::erase_if(expected, [&](const ExportedRecord& r) { return r.Location == other; });
            EXPECT_EQ(OfType(*MsiecfExport(cache + "index.dat"), "URL"), expected);
        }
    }
}

// Freeing a LEAK record never lowers a disk usage through a group offset that names
// no group entry: here one pointing into the hash table.
TEST(DeleteUrlCacheEntry, FreesALeakWithoutFollowingAHostileGroupOffset) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    std::string bytes = ReadFile(cache + "index.dat");
    const std::uint32_t table = HeaderU32(bytes, FirstHashOffset);
    bytes = WithU32(bytes, ParseFile(cache + "index.dat").LeakChain.front() + UrlGroupOffset,
                    table + HashSlotsOffset);
    WriteFile(cache + "index.dat", bytes);
    EXPECT_EQ(FinishEarlierRuns(cache).EarlierDeleted, 1u);
    const std::string after = ReadFile(cache + "index.dat");
    EXPECT_TRUE(after.substr(table, HashBlocks * BlockSize) ==
                bytes.substr(table, HashBlocks * BlockSize));
    ExpectReadableAndSound(cache + "index.dat");
}

// An entry in the cache directory itself may name index.dat as its file: the delete
// frees the entry but never removes the index, which would leave the cache without
// one until the next write.
TEST(DeleteUrlCacheEntry, NeverRemovesTheIndexItself) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    std::string bytes = ReadFile(cache + "index.dat");
    const IeUrlRecord target =
        *FindRecord(ParseFile(cache + "index.dat"), "http://www.example.com/index.html");
    bytes[target.Offset + UrlDirectoryIndex] = static_cast<char>(NoDirectory);
    bytes.replace(bytes.find("index[1].htm", target.Offset), 12,
                  std::string("INDEX.DAT\0\0\0", 12));
    WriteFile(cache + "index.dat", bytes);
    std::vector<std::string> removed;
    UrlCacheDeleteHooks hooks;
    hooks.RemoveFile = [&removed](const std::string& path) {
        removed.push_back(path);
        return ::unlink(path.c_str()) == 0 ? 0 : errno;
    };
    ASSERT_TRUE(DeleteUrlCacheEntry(cache, target.Location, hooks).ok());
    EXPECT_EQ(removed, std::vector{cache + "ABCD1234/leaked[1].htm"});
    EXPECT_EQ(FindRecord(ParseFile(cache + "index.dat"), target.Location), nullptr);
    ExpectReadableAndSound(cache + "index.dat");
}

// Refusals change nothing: neither the index nor any file.
TEST(DeleteUrlCacheEntry, RefusesUnsafeOrUnknownEntries) {
    struct Case {
        std::string fixture, location;
        StatusCode code;
    } cases[] = {
        {"typical", "http://nowhere.example.com/", StatusCode::NotFound},
        {"typical", "HTTP://WWW.EXAMPLE.COM/index.html", StatusCode::NotFound},
        {"typical", "http://example.com/", StatusCode::NotFound},  // a redirect
        {"typical", "http://stale.example.com/old.html", StatusCode::NotFound},
        {"unsafe-file-names", "http://unsafe.example.com/1.html", StatusCode::Refused},
        {"unsafe-file-names", "http://unsafe.example.com/2.html", StatusCode::Refused},
        {"unsafe-file-names", "http://unsafe.example.com/3.html", StatusCode::Refused},
        {"unsafe-file-names", "http://unsafe.example.com/4.html", StatusCode::Refused},
        {"unsafe-directory-name", "http://unsafe.example.com/ok.html", StatusCode::Refused},
        {"typical", "http://nowhere.example.com/", StatusCode::NotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture + " " + c.location);
        TempDir temp;
        const std::string cache = CopyCache(IeFixture(c.fixture), temp.Path());
        const std::string before = ReadFile(cache + "index.dat");
        const auto filesBefore =
            std::distance(std::filesystem::recursive_directory_iterator(temp.Path()), {});
        const Status status = DeleteUrlCacheEntry(cache, c.location);
        EXPECT_EQ(status.code(), c.code);
        EXPECT_FALSE(status.message().empty());
        EXPECT_EQ(ReadFile(cache + "index.dat"), before);
        EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(temp.Path()), {}),
                  filesBefore);
    }
}

TEST(DeleteUrlCacheEntry, RefusesEntriesLeadingOutOfTheCache) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    WriteFile(temp / "outside/index[1].htm", "keep me");
    std::filesystem::remove_all(cache + "ABCD1234");
    std::filesystem::create_directory_symlink(temp / "outside", cache + "ABCD1234");
    // A cached "file" that is a directory is not removed either.
    std::filesystem::remove(cache + "IJKL9012/login[1].htm");
    std::filesystem::create_directory(cache + "IJKL9012/login[1].htm");
    const std::string before = ReadFile(cache + "index.dat");

    EXPECT_EQ(DeleteUrlCacheEntry(cache, "http://www.example.com/index.html").code(),
              StatusCode::Refused);
    EXPECT_EQ(DeleteUrlCacheEntry(cache, "https://secure.example.org/account/login.html").code(),
              StatusCode::Refused);
    EXPECT_EQ(ReadFile(temp / "outside/index[1].htm"), "keep me");
    EXPECT_EQ(ReadFile(cache + "index.dat"), before);

    // A file that is a link inside the cache loses the link, not its target.
    std::filesystem::remove(cache + "MNOP3456/notype[1].css");
    std::filesystem::create_symlink(cache + "efgh5678/plain[1].txt",
                                    cache + "MNOP3456/notype[1].css");
    EXPECT_TRUE(DeleteUrlCacheEntry(cache, "http://www.example.com/notype.css").ok());
    EXPECT_FALSE(std::filesystem::is_symlink(cache + "MNOP3456/notype[1].css"));
    EXPECT_TRUE(FileExists(cache + "efgh5678/plain[1].txt"));
}

TEST(DeleteUrlCacheEntry, RefusesEntriesInUse) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    std::string bytes = ReadFile(cache + "index.dat");
    const IeUrlRecord target =
        *FindRecord(ParseFile(cache + "index.dat"), "http://www.example.com/index.html");
    const std::uint32_t key = HeaderU32(bytes, target.SlotOffset);
    bytes[target.SlotOffset] = static_cast<char>((key & ~SlotFlagMask) | SlotUrlLocked);
    WriteFile(cache + "index.dat", bytes);
    EXPECT_EQ(DeleteUrlCacheEntry(cache, target.Location).code(), StatusCode::Refused);
    EXPECT_EQ(ReadFile(cache + "index.dat"), bytes);
    EXPECT_TRUE(FileExists(cache + "ABCD1234/index[1].htm"));
}

// Whatever random damage the checks notice, a delete refuses and touches nothing.
TEST(DeleteUrlCacheEntry, RefusesOnADamagedIndex) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    const std::string original = ReadFile(cache + "index.dat");
    const IeIndex index = ParseFile(cache + "index.dat");
    std::mt19937 random(7);
    int refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::string bytes = original;
        const std::size_t at =
            random() % 2 == 0 ? random() % BlocksOffset : random() % bytes.size();
        bytes[at] = static_cast<char>(bytes[at] ^ (1 + random() % 255));
        IeIndex damaged;
        if (!ParseIndexFile(bytes, damaged).ok() || damaged.IsSound()) {
            continue;
        }
        ++refused;
        WriteFile(cache + "index.dat", bytes);
        for (const IeUrlRecord& url : index.Urls) {
            ASSERT_EQ(DeleteUrlCacheEntry(cache, url.Location).code(), StatusCode::Refused);
        }
        ASSERT_EQ(ReadFile(cache + "index.dat"), bytes);
        ASSERT_TRUE(FileExists(cache + "ABCD1234/index[1].htm"));
        ASSERT_TRUE(FileExists(cache + "IJKL9012/sticky[1].png"));
    }
    EXPECT_GT(refused, 100);
}

// A child deleting every entry in turn is killed at 220 random moments. Each time
// index.dat must be byte for byte the index before the deletes or one of the indexes
// they write, and read as sound.
TEST(DeleteUrlCacheEntry, IndexIsOldOrNewAfterAnyKill) {
    const IeIndex original = ParseFile(IeFixture("typical") + "index.dat");
    const auto deleteAll = [&](const std::string& cache) {
        for (const IeUrlRecord& url : original.Urls) {
            DeleteUrlCacheEntry(cache, url.Location);
        }
    };
    // Every index the deletes write, in order, and how long a whole run takes here.
    std::vector<std::string> states;
    const auto start = std::chrono::steady_clock::now();
    {
        TempDir temp;
        const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
        states.push_back(ReadFile(cache + "index.dat"));
        for (const IeUrlRecord& url : original.Urls) {
            ASSERT_TRUE(DeleteUrlCacheEntry(cache, url.Location, RecordingWrites(states)).ok())
                << url.Location;
        }
    }
    const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count() +
                         1;
    std::mt19937 random(11);
    int interrupted = 0;
    for (int round = 0; round < 220; ++round) {
        TempDir temp;
        const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            deleteAll(cache);
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % runTime));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        SCOPED_TRACE(round);
        const auto state = std::find(states.begin(), states.end(), ReadFile(cache + "index.dat"));
        ASSERT_NE(state, states.end()) << "index.dat is none of the indexes the deletes write";
        // msiecfexport takes a while; the byte comparison above already covers every round.
        if (round % 10 == 0) {
            ExpectReadableAndSound(cache + "index.dat");
        }
        interrupted += state != states.begin() && state != states.end() - 1 ? 1 : 0;
    }
    // Many kills must have landed in the middle of the run for the test to mean much.
    EXPECT_GT(interrupted, 20);
}

}  // namespace
}  // namespace arkivo
