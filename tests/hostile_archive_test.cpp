// Archives and caches made to hurt: an archive.dat whose entries climb out of the
// archive directory, carry separators, NUL bytes and absurd lengths and counts; cache
// entries whose hosts are "." and "..", whose content types are "../x" or 300 bytes
// long; pages with unterminated comments and tags, a 10 MB attribute and NUL bytes;
// folders and files of the archive that are links out of it.
// Archiving and searching them must finish, write nothing outside the archive
// directory and read nothing outside the cache and the archive.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "archive/archive_info.h"
#include "archiver/archive_run.h"
#include "model/cache_item.h"
#include "model/cache_origin.h"
#include "model/content_types.h"
#include "model/file_utils.h"
#include "model/item_building.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "search/archive_search.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

constexpr std::string_view Secret = "secretword";

// Every file and directory below root but those under skip, with each file's size
// and a hash of its bytes.
std::set<std::string> Listing(const std::string& root, const std::string& skip) {
    std::set<std::string> listing;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const std::string path = it->path().string();
        if (path.rfind(skip, 0) == 0) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file()) {
            const std::string bytes = ReadFile(path);
            listing.insert(path + " " + std::to_string(bytes.size()) + " bytes, hash " +
                           std::to_string(std::hash<std::string>()(bytes)));
        } else {
            listing.insert(path + "/");
        }
    }
    return listing;
}

// One archive.dat record with the given head fields, strings as raw bytes.
std::string Record(std::uint32_t urlLength, std::uint32_t titleLength, std::uint32_t nameLength,
                   std::string_view strings) {
    std::string record(28, '\0');
    const std::int32_t kind = 1;
    std::memcpy(record.data(), &kind, 4);
    std::memcpy(record.data() + 16, &urlLength, 4);
    std::memcpy(record.data() + 20, &titleLength, 4);
    std::memcpy(record.data() + 24, &nameLength, 4);
    return record.append(strings);
}

std::string Stored(const std::string& url, const std::string& name, int kind = 1) {
    TCacheItem item;
    item.Url = url;
    item.ArchiveName = name;
    item.Kind = kind;
    TMemoryStream stream;
    item.SaveToStream(stream);
    return stream.Bytes();
}

class HostileArchiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadMimeTypes(programDir.Path());
        // Files a climbing name could reach, each holding the secret word.
        for (const char* path : {"secret.htm", "text/secret.htm", "www/text/secret.htm",
                                 "cache/../secret2.htm", "x/secret.htm"}) {
            WriteFile(root / path, "<title>" + std::string(Secret) + "</title>");
        }
        MakeDirectoryPath(archiveDir);
    }

    // A cache entry turned into an item as a cache reader would.
    void Cached(std::string_view url, std::string_view contentType, const std::string& body) {
        const std::string file = root / ("cache/file" + std::to_string(fileCount++));
        WriteFile(file, body);
        CacheEntry entry;
        entry.Url = url;
        entry.CacheFile = file;
        entry.CacheFileExists = true;
        entry.CacheDirLength = (root / "cache/").size();
        entry.ContentType = contentType;
        entry.Date = 45000.0;
        BuildCacheItem(Edition::Nav, entry, items);
    }

    void WriteHostileArchiveInfo() {
        std::string bytes;
        for (const char* name : {"../../secret.htm", "../../../secret.htm", "/etc/passwd",
                                 "a/b.htm", "a\\b.htm", "..", ".", ""}) {
            bytes += Stored("http://www:80/p", name);
        }
        bytes += Stored("http://..:80/secret.htm", "secret.htm");
        bytes += Stored("http://.:80/secret.htm", "secret.htm");
        bytes += Stored("http://www:80/q", "../../../secret.htm", 255);
        bytes += Record(5, 2, 20,
                        std::string("http:") + '\0' + "t" + '\0' + "../secret.htm" + '\0' + "x" +
                            std::string(6, '\0'));
        for (int i = 0; i < 20000; ++i) {
            bytes += Record(1, 1, 1, std::string(3, '\0'));
        }
        bytes += Record(0xFFFFFFF0u, 0xFFFFFFF0u, 0xFFFFFFF0u, "http://www:80/huge");
        WriteFile(archiveDir + "archive.dat", bytes);
    }

    ArchiveRunResult ArchiveAll(bool webArchive = false) {
        ArchiveRunOptions options;
        options.ArchiveDir = archiveDir;
        options.AskQuestions = false;
        options.WriteWebArchive = webArchive;
        ArchiveRun run(options, {});
        run.PrepareArchiveRun();
        for (const auto& item : items) {
            run.ArchiveJob().push_back(item.get());
        }
        EXPECT_TRUE(run.StartArchiveRun());
        ArchiveRunResult result = run.CheckArchiveDirectory();
        run.FinishArchiveRun(result);
        return result;
    }

    std::vector<SearchHit> Search(const std::string& pageText) {
        std::vector<SearchHit> hits;
        SearchCallbacks callbacks;
        callbacks.HitFound = [&](const SearchHit& hit) { hits.push_back(hit); };
        SearchArchive({archiveDir, "", pageText}, callbacks);
        return hits;
    }

    TempDir programDir;
    TempDir root;
    const std::string archiveDir = root / "archive/";
    TCacheItemList items;
    int fileCount = 0;
    ScriptedDialogs dialogs;
    ScopedDialogs installDialogs{dialogs};
};

TEST_F(HostileArchiveTest, SearchingReadsOnlyTheArchive) {
    WriteHostileArchiveInfo();
    const auto before = Listing(root.Path(), archiveDir);

    for (const SearchHit& hit : Search("")) {
        EXPECT_EQ(hit.File.rfind(archiveDir, 0), 0u) << hit.File;
        EXPECT_EQ(hit.File.find("/../"), std::string::npos) << hit.File;
    }
    EXPECT_TRUE(Search(std::string(Secret)).empty());
    EXPECT_EQ(Listing(root.Path(), archiveDir), before);
}

TEST_F(HostileArchiveTest, ArchivingWritesOnlyIntoTheArchive) {
    WriteHostileArchiveInfo();
    Cached("http://./index.html", "text/html", "<a href=\"../../secret.htm\">up</a>");
    Cached("http://../index.html", "text/html", "<!-- never closed <a href=x>");
    Cached("http://www/a.htm", "../x", "<a href=\"..\\..\\x\"");
    Cached("http://www/b.htm", "../../text", "body");
    Cached("http://www/c.htm", "x/../../..", "body");
    Cached("http://www/d.htm", std::string(300, 'a') + "/b", "body");
    Cached("http://www/e.htm", "text/" + std::string(300, 'h'), "body");
    Cached("http://www/f.htm", "text/html",
           "<a href=\"" + std::string(10 * 1024 * 1024, 'x') + "\">big</a>");
    Cached("http://www/g.htm", "text/html",
           std::string("<title>a\0b</title><a href=\"x\0/../y\">", 36) + std::string(3, '\0'));
    Cached("http://www/h.htm", "text/html", "<a href=\"/../../../secret.htm\"><img src=");
    Cached("http://www/..%2f..%2fsecret.htm", "text/html", "<p>");
    Cached("http://www/dir/..", "text/html", "<p>");
    ASSERT_FALSE(items.empty());

    const auto before = Listing(root.Path(), archiveDir);
    EXPECT_NE(ArchiveAll().Outcome, ArchiveOutcome::NotStarted);

    EXPECT_EQ(Listing(root.Path(), archiveDir), before);
    for (const auto& entry : fs::recursive_directory_iterator(archiveDir)) {
        if (entry.is_regular_file()) {
            EXPECT_EQ(ReadFile(entry.path().string()).find(Secret), std::string::npos)
                << entry.path();
        }
    }
    // The list written back holds only entries that stay inside the archive.
    for (const auto& entry : LoadArchiveInfo(archiveDir + "archive.dat")) {
        EXPECT_EQ(entry->ArchiveName.find('/'), std::string::npos) << entry->ArchiveName;
        EXPECT_NE(entry->ArchiveName, "..");
    }
    EXPECT_TRUE(Search(std::string(Secret)).empty());
    EXPECT_EQ(Listing(root.Path(), archiveDir), before);
}

TEST_F(HostileArchiveTest, LinkedFoldersInsideTheArchiveLeadNowhere) {
    // A type folder, a domain folder and the icon folder that are links out of the
    // archive, and an archived page that is a link to a secret, listed in archive.dat.
    for (const char* folder : {"elsewhere/text", "elsewhere/domain", "elsewhere/images"}) {
        WriteFile(root / (std::string(folder) + "/kept.htm"), "kept");
    }
    MakeDirectoryPath(archiveDir + "www.x.example");
    MakeDirectoryPath(archiveDir + "www.z.example/text");
    fs::create_directory_symlink(root / "elsewhere/text", archiveDir + "www.x.example/text");
    fs::create_directory_symlink(root / "elsewhere/domain", archiveDir + "www.y.example");
    fs::create_directory_symlink(root / "elsewhere/images", archiveDir + "images");
    fs::create_symlink(root / "secret.htm", archiveDir + "www.z.example/text/s.htm");
    WriteFile(archiveDir + "archive.dat", Stored("http://www.z.example:80/s.htm", "s.htm"));
    Cached("http://www.x.example/page.htm", "text/html", "<a href=\"b.htm\">b</a>");
    Cached("http://www.x.example/b.htm", "text/html", "<p>");
    Cached("http://www.y.example/index.htm", "text/html", "<p>");
    Cached("http://www.w.example/index.htm", "text/html", "<p>");

    const auto before = Listing(root.Path(), archiveDir);
    const ArchiveRunResult result = ArchiveAll();
    EXPECT_EQ(result.ArchivedCount, 1u);  // www.w.example's page alone has a real folder
    EXPECT_EQ(result.FailedCount, 3u);
    EXPECT_EQ(Listing(root.Path(), archiveDir), before);
    for (const SearchHit& hit : Search("")) {
        EXPECT_EQ(hit.File.find("www.z.example"), std::string::npos) << hit.File;
    }
    EXPECT_TRUE(Search(std::string(Secret)).empty());
}

TEST_F(HostileArchiveTest, ALinkedWebArchiveFolderOrIndexIsRefused) {
    WriteFile(root / "elsewhere/index.cdxj", "outside\n");
    Cached("http://www.x.example/a.htm", "text/html", "<p>");
    auto origin = std::make_shared<CacheOrigin>();
    origin->Url = items.front()->Url;
    items.front()->Origin = origin;
    const std::string folder = archiveDir + "web+archive";
    for (const bool linkedIndex : {false, true}) {
        if (linkedIndex) {
            fs::remove(folder);
            fs::create_directory(folder);
            fs::create_symlink(root / "elsewhere/index.cdxj", folder + "/index.cdxj");
        } else {
            fs::create_directory_symlink(root / "elsewhere", folder);
        }
        const auto before = Listing(root.Path(), archiveDir);
        const ArchiveRunResult result = ArchiveAll(true);
        EXPECT_EQ(result.Outcome, ArchiveOutcome::Failed) << linkedIndex;
        EXPECT_TRUE(result.Error.starts_with("The web archive was not written: ")) << result.Error;
        EXPECT_EQ(Listing(root.Path(), archiveDir), before);
        // The archive itself is written and recorded as ever.
        EXPECT_EQ(LoadArchiveInfo(archiveDir + "archive.dat").size(), 1u);
    }
    // Nothing was written beside the linked index either.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace arkivo
