// End to end: a cache of linked pages with pictures, sound, film and other files
// is archived, and linkchecker walks the archive from "1st_page.htm". No link may
// be broken, and every archived file must be reached from the index.
//
// linkchecker must be installed (see link_checker.h); without it the test is
// skipped.

#include <gtest/gtest.h>

#include <set>

#include "archive/archive_layout.h"
#include "archiver/archive_run.h"
#include "image_headers.h"
#include "link_checker.h"
#include "model/content_types.h"
#include "model/url.h"
#include "platform/dialogs.h"
#include "platform/path.h"
#include "platform/program_dir.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::CheckedLink;
using testing::CheckLinks;
using testing::GifPicture;
using testing::HasLinkChecker;
using testing::JfifPicture;
using testing::MakeReadableToAll;
using testing::PercentDecoded;
using testing::TempDir;
using testing::WriteFile;

class OfflineIndexLinks : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadMimeTypes(cache.Path());
        SetProgramDirForTesting(testing::TestDataDir() + "/../../resources");
    }

    void Cache(const std::string& url, std::string_view type, const std::string& body) {
        auto item = std::make_unique<TCacheItem>();
        item->Url = url;
        item->Kind = ContentCodeOf(type);
        item->Group = ContentGroupOf(type);
        item->Date = 45000.0;
        std::string rest = url;
        item->Domain = FileNameSafe(SplitHost(rest));
        item->CacheFile = cache / ("entry" + std::to_string(items.size()));
        WriteFile(item->CacheFile, body);
        items.push_back(std::move(item));
    }

    // A small web: two sites of linked pages with pictures, sound, film and other
    // files; a site of pictures only, one of other files only, one of plain text.
    void CacheSites() {
        Cache("http://www.example.com:80/", "text/html",
              "<HTML><HEAD><TITLE>Example home</TITLE></HEAD><BODY>\n"
              "<IMG SRC=\"img/logo.gif\" WIDTH=120 HEIGHT=60>\n"
              "<A HREF=\"about.html\">About us</A>\n"
              "<A HREF=\"/media/song.wav\">A song</A> <A HREF=\"media/clip.mpg\">A film</A>\n"
              "<A HREF=\"files/manual.pdf\">The manual</A>\n"
              "<A HREF=\"http://www.example.org/\">Our partner</A>\n"
              "<A HREF=\"http://elsewhere.example.net/\">Elsewhere</A>\n"
              "<A HREF=\"never-cached.html\">Not cached</A>\n"
              "</BODY></HTML>\n");
        Cache("http://www.example.com:80/about.html", "text/html",
              "<HTML><HEAD><TITLE>About</TITLE></HEAD><BODY>\n"
              "<A HREF=\"/\">Home</A> <IMG SRC=\"img/photo.jpg\"> <IMG SRC=\"img/gone.gif\">\n"
              "</BODY></HTML>\n");
        Cache("http://www.example.com:80/img/logo.gif", "image/gif", GifPicture(120, 60));
        Cache("http://www.example.com:80/img/photo.jpg", "image/jpeg", JfifPicture(800, 600));
        Cache("http://www.example.com:80/media/song.wav", "audio/x-wav", "RIFF\x24\0\0\0WAVEfmt ");
        Cache("http://www.example.com:80/media/clip.mpg", "video/mpeg", "\0\0\x01\xBA");
        Cache("http://www.example.com:80/files/manual.pdf", "application/pdf", "%PDF-1.4\n");
        Cache("http://www.example.org:80/", "text/html",
              "<HTML><BODY><A HREF=\"http://www.example.com/\">Back</A>"
              "<A HREF=\"notes/plan.txt\">Plan</A></BODY></HTML>\n");
        Cache("http://www.example.org:80/notes/plan.txt", "text/plain", "plain text\n");
        Cache("http://pics.example.net:80/a.gif", "image/gif", GifPicture(300, 300));
        Cache("http://pics.example.net:80/b.jpg", "image/jpeg", JfifPicture(64, 48));
        Cache("http://files.example.net:80/tool.zip", "application/zip", "PK\x03\x04");
    }

    ArchiveRunResult ArchiveAll() {
        ArchiveRunOptions options;
        options.ArchiveDir = archiveDir;
        options.AskQuestions = false;
        options.Links.ShowOriginalUrls = false;  // unarchived links lead to notfound.htm
        ArchiveRun run(options, {});
        run.PrepareArchiveRun();
        for (const auto& item : items) {
            run.ArchiveJob().push_back(item.get());
        }
        EXPECT_TRUE(run.StartArchiveRun());
        const ArchiveRunResult result = run.CheckArchiveDirectory();
        run.FinishArchiveRun(result);
        return result;
    }

    TempDir cache;
    TempDir archive;
    std::string archiveDir = archive / "archive/";
    TCacheItemList items;
    ScriptedDialogs dialogs;
    ScopedDialogs installDialogs{dialogs};
};

TEST_F(OfflineIndexLinks, EveryLinkWorksAndEveryFileIsReached) {
    if (!HasLinkChecker()) {
        GTEST_SKIP() << "linkchecker is not installed";
    }
    CacheSites();
    const ArchiveRunResult result = ArchiveAll();
    ASSERT_EQ(result.Outcome, ArchiveOutcome::Completed) << result.Error;
    ASSERT_EQ(result.ArchivedCount, items.size());
    MakeReadableToAll(archive.Path());

    const auto links = CheckLinks(archiveDir + "1st_page.htm");
    ASSERT_FALSE(links.empty()) << "linkchecker reported nothing";
    std::set<std::string> reached;
    for (const CheckedLink& link : links) {
        EXPECT_TRUE(link.Valid) << link.Url << " (from " << link.Parent << "): " << link.Result;
        if (link.Valid && link.Url.rfind("file://", 0) == 0) {
            reached.insert(PercentDecoded(link.Url.substr(7)));
        }
    }
    for (const auto& item : items) {
        const auto path = ArchivePathOf(archiveDir, *item);
        ASSERT_TRUE(path);
        EXPECT_TRUE(reached.count(*path)) << *path << " is not reached from the index";
    }
    for (const char* page :
         {"indlist.htm", "indpage.htm", "notfound.htm", "www.example.com/thumbnail_index.htm",
          "pics.example.net/image_index.htm", "files.example.net/other_index.htm",
          "images/QuenLogo.gif", "images/dImage.gif", "images/notfound.gif"}) {
        EXPECT_TRUE(reached.count(archiveDir + page)) << page << " is not reached";
    }
}

}  // namespace
}  // namespace arkivo
