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

IeIndex ParseFile(const std::string& path) {
    IeIndex index;
    EXPECT_TRUE(ParseIndexFile(ReadFile(path), index).ok()) << path;
    return index;
}

const IeUrlRecord* FindRecord(const IeIndex& index, std::string_view location) {
    for (const IeUrlRecord& url : index.Urls) {
        if (url.Location == location) {
            return &url;
        }
    }
    return nullptr;
}

std::uint64_t HeaderU64(const std::string& bytes, std::uint32_t offset) {
    return ByteReader(bytes).U64LE(offset).value_or(0);
}

// After a change the index is sound, msiecfexport reads it and lists exactly our
// entries, and the header counts the blocks the bitmap marks.
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
    }
}

TEST(DeleteUrlCacheEntry, FreesEachEntryOfTheTypicalFixture) {
    const IeIndex original = ParseFile(IeFixture("typical") + "index.dat");
    const std::string originalBytes = ReadFile(IeFixture("typical") + "index.dat");
    for (const IeUrlRecord& target : original.Urls) {
        SCOPED_TRACE(target.Location);
        TempDir temp;
        const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
        const std::string file =
            target.FileName.empty()
                ? std::string()
                : FindFileNoCase(
                      FindFileNoCase(cache, original.Directories[target.DirectoryIndex].Name),
                      target.FileName);

        ASSERT_TRUE(DeleteUrlCacheEntry(cache, target.Location).ok());
        ExpectReadableAndSound(cache + "index.dat");

        const std::string bytes = ReadFile(cache + "index.dat");
        const IeIndex after = ParseFile(cache + "index.dat");
        EXPECT_EQ(after.Urls.size(), original.Urls.size() - 1);
        EXPECT_EQ(FindRecord(after, target.Location), nullptr);
        EXPECT_FALSE(FileExists(file)) << file;
        EXPECT_EQ(bytes.size(), originalBytes.size());
        EXPECT_EQ(HeaderU32(bytes, AllocatedBlocksOffset),
                  HeaderU32(originalBytes, AllocatedBlocksOffset) - target.Blocks);
        const std::uint32_t count =
            DirectoryTableOffset + target.DirectoryIndex * DirectoryEntrySize;
        EXPECT_EQ(HeaderU32(bytes, count), HeaderU32(originalBytes, count) - 1);
        const bool sticky = (target.EntryFlags & StickyEntry) != 0;
        const std::uint32_t usage = sticky ? ExemptUsageOffset : CacheUsageOffset;
        EXPECT_EQ(HeaderU64(bytes, usage), HeaderU64(originalBytes, usage) - target.FileSize);
        if (target.GroupOffset != 0) {
            const std::uint32_t group = target.GroupOffset + GroupDiskUsage;
            EXPECT_EQ(HeaderU64(bytes, group), HeaderU64(originalBytes, group) - target.FileSize);
        }
        // The freed blocks are wiped and the slot marked deleted.
        EXPECT_EQ(bytes.substr(target.Offset, target.Blocks * BlockSize),
                  std::string(target.Blocks * BlockSize, '\0'));
        EXPECT_EQ(HeaderU32(bytes, target.SlotOffset), SlotDeleted);
        EXPECT_FALSE(FileExists(cache + "index.dat.tmp"));
    }
}

TEST(DeleteUrlCacheEntry, DeletesEveryEntryInOneSession) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    const IeIndex original = ParseFile(cache + "index.dat");
    UrlCacheEditor editor;
    ASSERT_TRUE(editor.Open(cache).ok());
    for (const IeUrlRecord& url : original.Urls) {
        EXPECT_TRUE(editor.Delete(url.Location).ok()) << url.Location;
        EXPECT_EQ(editor.Delete(url.Location).code(), StatusCode::NotFound);
    }
    ASSERT_TRUE(editor.Save().ok());
    ExpectReadableAndSound(cache + "index.dat");
    EXPECT_TRUE(ParseFile(cache + "index.dat").Urls.empty());
    // The LEAK record and the redirects stay.
    if (HaveMsiecfexport()) {
        const auto exported = MsiecfExport(cache + "index.dat");
        ASSERT_TRUE(exported);
        EXPECT_EQ(OfType(*exported, "REDR").size(), 2u);
        EXPECT_EQ(OfType(*exported, "LEAK").size(), 1u);
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

// A record whose file stays becomes a LEAK record and keeps its blocks and counts.
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
    EXPECT_EQ(HeaderU32(bytes, AllocatedBlocksOffset),
              HeaderU32(ReadFile(IeFixture("typical") + "index.dat"), AllocatedBlocksOffset));
    if (HaveMsiecfexport()) {
        EXPECT_EQ(OfType(*MsiecfExport(cache + "index.dat"), "LEAK").size(), 2u);
    }
}

TEST(DeleteUrlCacheEntry, LeaksWhenTheFileCannotBeRemoved) {
    TempDir temp;
    const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
    // A directory its user may not change: its files cannot be removed (EACCES).
    ASSERT_EQ(::chmod((cache + "ABCD1234").c_str(), 0555), 0);
    Status status;
    if (::geteuid() != 0) {
        status = DeleteUrlCacheEntry(cache, "http://www.example.com/index.html");
    } else {
        // Root may remove anything: delete as an unprivileged user in a child, which
        // may write the index and the cache directory but not that one directory.
        ASSERT_EQ(::chmod(temp.Path().c_str(), 0755), 0);
        ASSERT_EQ(::chmod(cache.c_str(), 0777), 0);
        ASSERT_EQ(::chmod((cache + "index.dat").c_str(), 0666), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool deleted =
                ::setgid(65534) == 0 && ::setuid(65534) == 0 &&
                DeleteUrlCacheEntry(cache, "http://www.example.com/index.html").ok();
            ::_exit(deleted ? 0 : 1);
        }
        int exit = 0;
        ASSERT_EQ(::waitpid(child, &exit, 0), child);
        status = WIFEXITED(exit) && WEXITSTATUS(exit) == 0
                     ? Status::Ok()
                     : Status::Error(StatusCode::WriteFailed, "the child's delete failed");
    }
    ASSERT_TRUE(status.ok()) << status.message();
    EXPECT_TRUE(FileExists(cache + "ABCD1234/index[1].htm"));
    ExpectReadableAndSound(cache + "index.dat");
    const std::string bytes = ReadFile(cache + "index.dat");
    const std::string before = ReadFile(IeFixture("typical") + "index.dat");
    EXPECT_EQ(bytes.substr(HeaderU32(bytes, FirstLeakOffset), 4), "LEAK");
    EXPECT_EQ(HeaderU32(bytes, AllocatedBlocksOffset), HeaderU32(before, AllocatedBlocksOffset));
    EXPECT_EQ(HeaderU32(bytes, DirectoryTableOffset), HeaderU32(before, DirectoryTableOffset));
    EXPECT_EQ(FindRecord(ParseFile(cache + "index.dat"), "http://www.example.com/index.html"),
              nullptr);
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
// index.dat must be byte for byte the index before or after one of the deletes, and
// read as sound.
TEST(DeleteUrlCacheEntry, IndexIsOldOrNewAfterAnyKill) {
    const IeIndex original = ParseFile(IeFixture("typical") + "index.dat");
    const auto deleteAll = [&](const std::string& cache) {
        for (const IeUrlRecord& url : original.Urls) {
            DeleteUrlCacheEntry(cache, url.Location);
        }
    };
    // The index after each delete, in order, and how long a whole run takes here.
    std::vector<std::string> states;
    const auto start = std::chrono::steady_clock::now();
    {
        TempDir temp;
        const std::string cache = CopyCache(IeFixture("typical"), temp.Path());
        states.push_back(ReadFile(cache + "index.dat"));
        for (const IeUrlRecord& url : original.Urls) {
            ASSERT_TRUE(DeleteUrlCacheEntry(cache, url.Location).ok()) << url.Location;
            states.push_back(ReadFile(cache + "index.dat"));
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
        ASSERT_NE(state, states.end()) << "index.dat is neither before nor after a delete";
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
