#include "archive/archive_info.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "model/content_types.h"
#include "model/file_utils.h"
#include "platform/file_system.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::unique_ptr<TCacheItem> Entry(const std::string& url, const std::string& name, int kind = 1) {
    auto item = std::make_unique<TCacheItem>();
    item->Url = url;
    item->ArchiveName = name;
    item->Kind = kind;
    item->Date = 40000.0;
    return item;
}

class ArchiveInfo : public ::testing::Test {
  protected:
    void SetUp() override { LoadMimeTypes(archive.Path()); }

    // Writes archive.dat holding the entries and creates the archived copies of those
    // whose name does not start with "gone".
    void Prepare(const TCacheItemList& entries) {
        TMemoryStream stream;
        for (const auto& entry : entries) {
            entry->SaveToStream(stream);
            if (entry->ArchiveName.rfind("gone", 0) != 0) {
                WriteFile(archive / ("h/" + MajorTypeOf(entry->Kind) + "/" + entry->ArchiveName),
                          "x");
            }
        }
        WriteFile(archive / "archive.dat", stream.Bytes());
    }

    std::vector<std::string> Urls(const TCacheItemList& entries) {
        std::vector<std::string> urls;
        for (const auto& entry : entries) {
            urls.push_back(entry->Url);
        }
        return urls;
    }

    TempDir archive;
    UsedNames used;
    TArchiveList list;
};

TEST_F(ArchiveInfo, UnchangedRunRewritesTheSameBytes) {
    TCacheItemList entries;
    entries.push_back(Entry("http://h:80/a", "a.htm"));
    entries.push_back(Entry("http://h:80/b", "b.gif", 2));
    Prepare(entries);
    const std::string before = ReadFile(archive / "archive.dat");

    ASSERT_TRUE(list.ReadArchiveInfo(archive.Path(), used).ok());
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.Entries()[1]->Domain, "h");
    EXPECT_TRUE(used.Contains("h/image/B.GIF"));
    ASSERT_TRUE(list.WriteArchiveInfo(archive.Path()).ok());
    EXPECT_EQ(ReadFile(archive / "archive.dat"), before);
    EXPECT_FALSE(FileExists(archive / "archive.tmp"));
    EXPECT_TRUE(IsDirectory(archive / "images"));
}

TEST_F(ArchiveInfo, CodesAboveTheBuiltInTableMeanWhatTheArchivesOwnTableSays) {
    const std::string header = "ADDITIONAL MIMETYPES INFO. DO NOT EDIT OR REMOVE!\r\n";
    ASSERT_EQ(ContentCodeOf("x/mine"), 73);
    TCacheItemList entries;
    entries.push_back(Entry("http://h:80/a.png", "gone.png", 73));
    Prepare(entries);
    WriteFile(archive / "h/image/gone.png", "png");
    WriteFile(archive / "archive_types.dat", header + "image/x-theirs\r\n");

    ASSERT_TRUE(list.ReadArchiveInfo(archive.Path(), used).ok());
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(ContentTypeOf(list.Entries()[0]->Kind), "image/x-theirs");
    ASSERT_TRUE(list.WriteArchiveInfo(archive.Path()).ok());
    EXPECT_EQ(ReadFile(archive / "archive_types.dat"), header + "x/mine\r\nimage/x-theirs\r\n");
    EXPECT_EQ(LoadArchiveInfo(archive / "archive.dat")[0]->Kind, 74);
}

TEST_F(ArchiveInfo, EntriesWithoutTheirCopyAreDroppedAndTheirNamesFreed) {
    TCacheItemList entries;
    entries.push_back(Entry("http://h:80/a", "gone.htm"));
    entries.push_back(Entry("http://h:80/b", "b.htm"));
    Prepare(entries);
    ASSERT_TRUE(list.ReadArchiveInfo(archive.Path(), used).ok());
    EXPECT_EQ(Urls(list.Entries()), (std::vector<std::string>{"http://h:80/b"}));
    EXPECT_FALSE(used.Contains("h/text/gone.htm"));
}

TEST_F(ArchiveInfo, MergeUpdatesInPlaceAndAppendsNewUrls) {
    TCacheItemList entries;
    entries.push_back(Entry("http://h:80/a", "a.htm"));
    entries.push_back(Entry("http://h:80/b", "b.htm"));
    Prepare(entries);
    ASSERT_TRUE(list.ReadArchiveInfo(archive.Path(), used).ok());

    TCacheItem again = *Entry("http://h:80/a", "a.htm");
    again.Title = "New title";
    again.Date = 45000.0;
    list.MergeArchived(again);
    list.MergeArchived(*Entry("http://h:80/A", "A(1).htm"));  // another URL: case counts
    EXPECT_EQ(Urls(list.Entries()),
              (std::vector<std::string>{"http://h:80/a", "http://h:80/b", "http://h:80/A"}));
    EXPECT_EQ(list.Entries()[0]->Title, "New title");
    EXPECT_EQ(list.FindArchivedName("http://h:80/A"), "A(1).htm");
    EXPECT_EQ(list.FindArchivedName("http://h:80/c"), std::nullopt);

    ASSERT_TRUE(list.WriteArchiveInfo(archive.Path()).ok());
    const TCacheItemList reread = LoadArchiveInfo(archive / "archive.dat");
    ASSERT_EQ(reread.size(), 3u);
    EXPECT_EQ(reread[0]->Title, "New title");
    EXPECT_EQ(reread[0]->Date, 45000.0);
}

TEST_F(ArchiveInfo, AnEmptyListDeletesTheFile) {
    TCacheItemList entries;
    entries.push_back(Entry("http://h:80/a", "gone.htm"));
    Prepare(entries);
    ASSERT_TRUE(list.ReadArchiveInfo(archive.Path(), used).ok());
    ASSERT_TRUE(list.WriteArchiveInfo(archive.Path()).ok());
    EXPECT_FALSE(FileExists(archive / "archive.dat"));
}

TEST_F(ArchiveInfo, ShortFileGivesAnEmptyList) {
    WriteFile(archive / "archive.dat", std::string(15, '\x01'));
    ASSERT_TRUE(list.ReadArchiveInfo(archive.Path(), used).ok());
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(ArchiveInfo, HostileEntriesAreTreatedAsMissing) {
    // Names and URLs from someone else's archive.dat must never lead outside the archive.
    WriteFile(archive / "outside.htm", "not part of any domain");
    TCacheItemList entries;
    entries.push_back(Entry("http://h:80/a", "../../outside.htm"));
    entries.push_back(Entry("http://h:80/b", ".."));
    entries.push_back(Entry("http://..:80/c", "c.htm"));
    entries.push_back(Entry("http://h:80/d", std::string("d\0x", 3)));
    entries.push_back(Entry("http://h:80/ok", "ok.htm"));
    TMemoryStream stream;
    for (const auto& entry : entries) {
        entry->SaveToStream(stream);
    }
    WriteFile(archive / "archive.dat", stream.Bytes());
    WriteFile(archive / "h/text/ok.htm", "x");
    WriteFile(archive / "h/text/d", "x");

    ASSERT_TRUE(list.ReadArchiveInfo(archive.Path(), used).ok());
    EXPECT_EQ(Urls(list.Entries()), (std::vector<std::string>{"http://h:80/d", "http://h:80/ok"}));
    EXPECT_EQ(list.Entries()[0]->ArchiveName, "d");  // the stored NUL ends the name
}

TEST_F(ArchiveInfo, AnUnreadableFileStopsTheRunAndIsKept) {
    MakeDirectoryPath(archive / "archive.dat");  // a directory cannot be read as a file
    const Status status = list.ReadArchiveInfo(archive.Path(), used);
    EXPECT_EQ(status.code(), StatusCode::Unreadable);
    EXPECT_TRUE(IsDirectory(archive / "archive.dat"));

    // A FIFO is refused at once instead of waiting for a writer.
    TempDir other;
    ASSERT_EQ(::mkfifo((other / "archive.dat").c_str(), 0600), 0);
    EXPECT_EQ(list.ReadArchiveInfo(other.Path(), used).code(), StatusCode::Unreadable);
}

// A link or FIFO planted as archive.tmp is replaced, never written through.
TEST_F(ArchiveInfo, APlantedTemporaryFileIsReplacedNotWrittenThrough) {
    TempDir outside;
    WriteFile(outside / "victim.txt", "precious");
    TCacheItemList entries;
    entries.push_back(Entry("http://h:80/a", "a.htm"));
    Prepare(entries);
    for (const bool fifo : {false, true}) {
        if (fifo) {
            ASSERT_EQ(::mkfifo((archive / "archive.tmp").c_str(), 0600), 0);
        } else {
            std::filesystem::create_symlink(outside / "victim.txt", archive / "archive.tmp");
        }
        ASSERT_TRUE(list.ReadArchiveInfo(archive.Path(), used).ok());
        ASSERT_TRUE(list.WriteArchiveInfo(archive.Path()).ok());
        EXPECT_EQ(ReadFile(outside / "victim.txt"), "precious");
        EXPECT_FALSE(std::filesystem::is_symlink(archive / "archive.dat"));
        EXPECT_EQ(LoadArchiveInfo(archive / "archive.dat").size(), 1u);
    }
}

TEST_F(ArchiveInfo, AFailedWriteKeepsTheOldFile) {
    TCacheItemList entries;
    entries.push_back(Entry("http://h:80/a", "a.htm"));
    Prepare(entries);
    const std::string before = ReadFile(archive / "archive.dat");
    ASSERT_TRUE(list.ReadArchiveInfo(archive.Path(), used).ok());
    list.MergeArchived(*Entry("http://h:80/new", "new.htm"));
    MakeDirectoryPath(archive / "archive.tmp");  // the temporary file cannot be created

    EXPECT_FALSE(list.WriteArchiveInfo(archive.Path()).ok());
    EXPECT_EQ(ReadFile(archive / "archive.dat"), before);
}

TEST_F(ArchiveInfo, MoreThanSixteenBitsOfEntries) {
    for (int i = 0; i < 70000; ++i) {
        list.MergeArchived(*Entry("http://h:80/" + std::to_string(i), "n" + std::to_string(i)));
    }
    EXPECT_EQ(list.Count(), 70000u);
    EXPECT_EQ(list.FindArchivedName("http://h:80/69999"), "n69999");
    ASSERT_TRUE(list.WriteArchiveInfo(archive.Path()).ok());
    EXPECT_EQ(LoadArchiveInfo(archive / "archive.dat").size(), 70000u);
}

}  // namespace
}  // namespace arkivo
