#include "search/archive_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/archive_info.h"
#include "model/cache_item.h"
#include "model/content_types.h"
#include "platform/path.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

constexpr int Html = 1;

struct Entry {
    std::string url;
    std::string name;
    int kind = Html;
    std::string body = "<p>page</p>";  // the archived copy's bytes; empty: no copy
};

class SearchArchiveTest : public ::testing::Test {
  protected:
    void SetUp() override { LoadMimeTypes(dir); }

    // Writes archive.dat with one record per entry and each entry's archived copy.
    void Prepare(const std::vector<Entry>& entries) {
        TMemoryStream stream;
        for (const Entry& entry : entries) {
            TCacheItem item;
            item.Url = entry.url;
            item.ArchiveName = entry.name;
            item.Kind = entry.kind;
            item.SaveToStream(stream);
            if (!entry.body.empty()) {
                WriteFile(At(HostOf(entry.url) + "/" + MajorTypeOf(entry.kind) + "/" + entry.name),
                          entry.body);
            }
        }
        WriteFile(At("archive.dat"), stream.Bytes());
    }

    static std::string HostOf(const std::string& url) {
        const std::size_t start = url.find("//") + 2;
        return url.substr(start, url.find(':', start) - start);
    }

    SearchOutcome Run(const std::string& urlText, const std::string& pageText,
                      std::string directory = "") {
        hits.clear();
        SearchRequest request{directory.empty() ? dir : directory, urlText, pageText};
        SearchCallbacks callbacks;
        callbacks.HitFound = [this](const SearchHit& hit) { hits.push_back(hit); };
        return SearchArchive(request, callbacks);
    }

    std::vector<std::string> HitUrls() const {
        std::vector<std::string> urls;
        for (const SearchHit& hit : hits) {
            urls.push_back(hit.Url);
        }
        return urls;
    }

    // A path below the archive directory.
    std::string At(const std::string& name) const { return dir + name; }

    TempDir root;
    const std::string dir = root / "archive/";
    std::vector<SearchHit> hits;
};

using Urls = std::vector<std::string>;

TEST_F(SearchArchiveTest, AnArchiveReadsItsCodesThroughItsOwnTypeTable) {
    ASSERT_EQ(ContentCodeOf("x/mine"), 73);
    Prepare({{"http://h:80/a.png", "a.png", 73, ""}});
    WriteFile(At("h/image/a.png"), "png");
    WriteFile(At("archive_types.dat"),
              "ADDITIONAL MIMETYPES INFO. DO NOT EDIT OR REMOVE!\r\nimage/x-theirs\r\n");
    Run("", "");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].Class, FileClass::Image);
}

TEST_F(SearchArchiveTest, HitRowsHoldTheCanonicalUrlTheClassAndTheArchivedPath) {
    Prepare({{"http://www.h.com:80/Index.html", "Index.htm"},
             {"http://www.h.com:80/logo.gif", "logo.gif", ContentCodeOf("image/gif"), "GIF89a"}});
    const SearchOutcome outcome = Run("h.com", "");
    EXPECT_EQ(outcome.End, SearchEnd::Finished);
    EXPECT_EQ(outcome.HitCount, 2u);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].Url, "http://www.h.com/Index.html");
    EXPECT_EQ(hits[0].Class, FileClass::Text);
    EXPECT_EQ(hits[0].File, At("www.h.com/text/Index.htm"));
    EXPECT_EQ(hits[1].Class, FileClass::Image);
    EXPECT_EQ(hits[1].File, At("www.h.com/image/logo.gif"));
}

TEST_F(SearchArchiveTest, UrlTextInUpperCaseFindsUrlsInAnyCase) {
    Prepare({{"http://h:80/Docs/ReadMe.html", "ReadMe.htm"}, {"http://h:80/other.html", "o.htm"}});
    Run("DOCS/README", "");
    EXPECT_EQ(HitUrls(), Urls{"http://h/Docs/ReadMe.html"});
}

TEST_F(SearchArchiveTest, ThePortOf80IsNotInTheCanonicalUrlButOtherPortsAre) {
    Prepare({{"http://h:80/a.html", "a.htm"}, {"http://h:8080/b.html", "b.htm"}});
    Run(":80", "");
    EXPECT_EQ(HitUrls(), Urls{"http://h:8080/b.html"});
    Run(":8080", "");
    EXPECT_EQ(HitUrls(), Urls{"http://h:8080/b.html"});
    Run("h/a.html", "");
    EXPECT_EQ(HitUrls(), Urls{"http://h/a.html"});
}

TEST_F(SearchArchiveTest, PageTextIsSearchedOnlyInHtmlItems) {
    Prepare({{"http://h:80/page.html", "page.htm", Html, "<b>Secret word</b>"},
             {"http://h:80/notes.txt", "notes.txt", ContentCodeOf("text/plain"), "secret word"},
             {"http://h:80/pic.gif", "pic.gif", ContentCodeOf("image/gif"), "secret word"},
             {"http://h:80/other.html", "other.htm", Html, "nothing here"}});
    Run("", "SECRET WORD");
    EXPECT_EQ(HitUrls(), Urls{"http://h/page.html"});
}

TEST_F(SearchArchiveTest, BothTextsMustMatch) {
    Prepare({{"http://a:80/x.html", "x.htm", Html, "apple"},
             {"http://b:80/y.html", "y.htm", Html, "apple"},
             {"http://b:80/z.html", "z.htm", Html, "pear"}});
    Run("b/", "apple");
    EXPECT_EQ(HitUrls(), Urls{"http://b/y.html"});
}

TEST_F(SearchArchiveTest, PageTextAcrossTheOld2048ByteBorderIsFound) {
    std::string page(3000, ' ');
    page.replace(2040, 16, "border-crossing!");
    Prepare({{"http://h:80/long.html", "long.htm", Html, page}});
    Run("", "border-crossing");
    EXPECT_EQ(HitUrls(), Urls{"http://h/long.html"});
}

TEST_F(SearchArchiveTest, DeletedCopiesNeverShowUpBeforePruning) {
    Prepare({{"http://h:80/kept.html", "kept.htm"},
             {"http://h:80/gone.html", "gone.htm", Html, ""},
             {"http://h:80/last.html", "last.htm"}});
    Run("h/", "");
    EXPECT_EQ(HitUrls(), (Urls{"http://h/kept.html", "http://h/last.html"}));
}

TEST_F(SearchArchiveTest, HitsComeInFileOrder) {
    Prepare({{"http://z:80/1.html", "1.htm"},
             {"http://a:80/2.html", "2.htm"},
             {"http://m:80/3.html", "3.htm"}});
    Run("html", "");
    EXPECT_EQ(HitUrls(), (Urls{"http://z/1.html", "http://a/2.html", "http://m/3.html"}));
}

TEST_F(SearchArchiveTest, ADirectoryWithoutTrailingSeparatorSearchesTheSame) {
    Prepare({{"http://h:80/a.html", "a.htm"}});
    Run("a.html", "", ExcludeTrailingSeparator(dir));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].File, At("h/text/a.htm"));
}

TEST_F(SearchArchiveTest, PendingMessagesAreProcessedAfterEveryRecord) {
    Prepare({{"http://h:80/a.html", "a.htm"},
             {"http://h:80/b.html", "b.htm", Html, ""},
             {"http://h:80/c.html", "c.htm"}});
    int pumped = 0;
    SearchCallbacks callbacks;
    callbacks.ProcessPendingMessages = [&] { ++pumped; };
    SearchArchive({dir, "zzz", ""}, callbacks);
    EXPECT_EQ(pumped, 3);
}

TEST_F(SearchArchiveTest, StopEndsTheSearchAfterTheCurrentRecordAndKeepsTheHits) {
    Prepare({{"http://h:80/a.html", "a.htm"},
             {"http://h:80/b.html", "b.htm"},
             {"http://h:80/c.html", "c.htm"}});
    bool stopFlag = false;
    std::vector<std::string> found;
    SearchCallbacks callbacks;
    callbacks.HitFound = [&](const SearchHit& hit) {
        found.push_back(hit.Url);
        stopFlag = found.size() == 2;  // Stop pressed while the second hit is shown
    };
    callbacks.StopRequested = [&] { return stopFlag; };
    const SearchOutcome outcome = SearchArchive({dir, "h/", ""}, callbacks);
    EXPECT_EQ(outcome.End, SearchEnd::Stopped);
    EXPECT_EQ(outcome.HitCount, 2u);
    EXPECT_EQ(found, (Urls{"http://h/a.html", "http://h/b.html"}));
}

TEST_F(SearchArchiveTest, MissingArchiveInfoIsUnreadable) {
    const SearchOutcome outcome = Run("x", "");
    EXPECT_EQ(outcome.End, SearchEnd::ArchiveInfoUnreadable);
    EXPECT_EQ(outcome.HitCount, 0u);
}

TEST_F(SearchArchiveTest, HostileEntriesNeverReadOutsideTheArchive) {
    // Files outside the archive that a careless path join would reach.
    WriteFile(root / "outside.htm", "secret");
    WriteFile(root / "text/outside.htm", "secret");
    WriteFile(At("evil/x.htm"), "secret");
    const int evilKind = ContentCodeOf("../evil");
    ASSERT_GT(evilKind, 0);
    Prepare({{"http://h:80/1.html", "../../outside.htm", Html, ""},
             {"http://h:80/2.html", "sub/../../../outside.htm", Html, ""},
             {"http://..:80/3.html", "outside.htm", Html, ""},
             {"http://h:80/4.html", "..", Html, ""},
             {"http://h:80/5.html", "", Html, ""},
             {"http://h:80/6.html", "x.htm", evilKind, ""},
             {"http://h:80/ok.html", "ok.htm", Html, "secret"}});
    const SearchOutcome outcome = Run("", "secret");
    EXPECT_EQ(outcome.End, SearchEnd::Finished);
    EXPECT_EQ(HitUrls(), Urls{"http://h/ok.html"});
}

TEST_F(SearchArchiveTest, ANulInAStoredNameEndsTheName) {
    Prepare({{"http://h:80/a.html", std::string("a.htm\0/../../outside.htm", 24), Html, ""}});
    WriteFile(At("h/text/a.htm"), "page");
    Run("a.html", "");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].File, At("h/text/a.htm"));
}

TEST_F(SearchArchiveTest, ATruncatedArchiveInfoGivesTheWholeRecordsBeforeTheCut) {
    Prepare({{"http://h:80/a.html", "a.htm"}, {"http://h:80/b.html", "b.htm"}});
    const std::string bytes = testing::ReadFile(At("archive.dat"));
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        WriteFile(At("archive.dat"), bytes.substr(0, cut));
        const SearchOutcome outcome = Run("h/", "");
        EXPECT_EQ(outcome.End, SearchEnd::Finished) << "cut at " << cut;
        EXPECT_LE(outcome.HitCount, 2u);
    }
}

}  // namespace
}  // namespace arkivo
