#include "archiver/archive_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

#include "archive/archive_lock.h"
#include "archiver/web_archive_folder.h"
#include "model/cache_origin.h"
#include "model/content_types.h"
#include "model/file_utils.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "support/test_support.h"
#include "webarchive/cdxj.h"
#include "webarchive/digest.h"

namespace arkivo {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

class ArchiveRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadMimeTypes(cache.Path());
        MakeDirectoryPath(archive / "arch");
    }

    TCacheItem& Cached(const std::string& url, int kind, const std::string& body,
                       const std::string& domain = "h") {
        auto item = std::make_unique<TCacheItem>();
        item->Url = url;
        item->Kind = kind;
        item->Group = kind == 1 ? 0 : 1;
        item->Date = 45000.0;
        item->Domain = domain;
        item->CacheFile = cache / ("file" + std::to_string(items.size()));
        WriteFile(item->CacheFile, body);
        items.push_back(std::move(item));
        return *items.back();
    }

    // A cached item with the record its cache reader would have kept.
    TCacheItem& Recorded(const std::string& url, int kind, const std::string& body,
                         const std::string& domain = "h") {
        TCacheItem& item = Cached(url, kind, body, domain);
        auto origin = std::make_shared<CacheOrigin>();
        origin->Format = CacheFormat::NavigatorDatabase;
        origin->IndexFile = cache / "FAT.DB";
        origin->Url = url;
        origin->ContentType = kind == 1 ? "text/html" : "image/gif";
        origin->LastAccess = 1700000000;
        item.Origin = std::move(origin);
        return item;
    }

    ArchiveRunOptions WebArchiveOptions() {
        ArchiveRunOptions options = Options();
        options.WriteWebArchive = true;
        options.AskQuestions = false;
        return options;
    }

    // The names of the WARC files in the web archive folder, sorted.
    std::vector<std::string> WarcFiles() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Archived("web+archive"))) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".warc.gz")) {
                names.push_back(name);
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // The lines of the web archive folder's index that name the WARC file.
    std::vector<std::string> IndexLinesFor(const std::string& warc) {
        std::vector<std::string> lines;
        std::istringstream index(ReadFile(Archived("web+archive/index.cdxj")));
        for (std::string line; std::getline(index, line);) {
            if (CdxjLineIsFor(line, warc)) {
                lines.push_back(line);
            }
        }
        return lines;
    }

    std::size_t IndexLineCount() {
        const std::string index = ReadFile(Archived("web+archive/index.cdxj"));
        return static_cast<std::size_t>(std::count(index.begin(), index.end(), '\n'));
    }

    ArchiveRunOptions Options(Edition edition = Edition::Nav) {
        ArchiveRunOptions options;
        options.ProgramEdition = edition;
        options.ArchiveDir = archive / "arch";
        return options;
    }

    ArchiveRunHooks RecordingHooks() {
        ArchiveRunHooks hooks;
        hooks.SetStage = [this](const std::string& stage) { trace.push_back(stage); };
        hooks.SetProgress = [this](int percent) { trace.push_back(std::to_string(percent)); };
        return hooks;
    }

    // One whole run over every cached item, as the explorer drives it.
    ArchiveRunResult RunAll(ArchiveRun& run) {
        run.PrepareArchiveRun();
        for (const auto& item : items) {
            run.ArchiveJob().push_back(item.get());
        }
        if (!run.StartArchiveRun()) {
            return ArchiveRunResult(ArchiveOutcome::NothingToArchive);
        }
        ArchiveRunResult result = run.CheckArchiveDirectory();
        run.FinishArchiveRun(result);
        return result;
    }

    std::string Archived(const std::string& relative) { return archive / ("arch/" + relative); }

    TempDir cache;
    TempDir archive;
    TCacheItemList items;
    ScriptedDialogs dialogs;
    ScopedDialogs installDialogs{dialogs};
    std::vector<std::string> trace;
};

TEST_F(ArchiveRunTest, AnEmptyJobSaysSoAndDoesNothing) {
    ArchiveRun run(Options(), {});
    EXPECT_EQ(RunAll(run).Outcome, ArchiveOutcome::NothingToArchive);
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].Text, "No files to archive.");
    EXPECT_EQ(dialogs.Shown()[0].HelpContext, 11);
    EXPECT_FALSE(FileExists(Archived("archive.dat")));
    EXPECT_FALSE(IsDirectory(Archived("images")));
}

TEST_F(ArchiveRunTest, AMissingDirectoryIsCreatedOnlyWhenTheUserAgrees) {
    Cached("http://h:80/a.gif", 2, "GIF89a");
    ArchiveRunOptions options = Options();
    options.ArchiveDir = archive / "new/deep/arch";
    {
        ArchiveRun run(options, {});
        dialogs.QueueAnswer(DialogResult::No);
        EXPECT_EQ(RunAll(run).Outcome, ArchiveOutcome::NotStarted);
        EXPECT_FALSE(IsDirectory(archive / "new"));
        EXPECT_EQ(dialogs.Shown()[0].Text, "Archive directory\r\n\r\n" + options.ArchiveDir +
                                               "/\r\n\r\ndoes not exist. Create?");
    }
    ArchiveRun run(options, {});
    dialogs.QueueAnswer(DialogResult::Yes);
    EXPECT_EQ(RunAll(run).Outcome, ArchiveOutcome::Completed);
    EXPECT_TRUE(FileExists(archive / "new/deep/arch/h/image/a.gif"));
}

TEST_F(ArchiveRunTest, CompletedRunCopiesRecordsAndReportsProgress) {
    Cached("http://h:80/a.gif", 2, "GIF89a-one");
    Cached("http://h:80/b.gif", 2, "GIF89a-two");
    Cached("http://other:80/song.wav", 26, "RIFF", "other");
    ArchiveRun run(Options(), RecordingHooks());
    dialogs.QueueAnswer(DialogResult::No);  // do not open the index
    const ArchiveRunResult result = RunAll(run);

    EXPECT_EQ(result.Outcome, ArchiveOutcome::Completed);
    EXPECT_EQ(result.ArchivedCount, 3u);
    EXPECT_FALSE(result.OpenIndex);
    EXPECT_EQ(ReadFile(Archived("h/image/b.gif")), "GIF89a-two");
    EXPECT_EQ(ReadFile(Archived("other/audio/song.wav")), "RIFF");
    EXPECT_EQ(LoadArchiveInfo(Archived("archive.dat")).size(), 3u);
    // The index pages report their own stage after these.
    ASSERT_GE(trace.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(trace.begin(), trace.begin() + 9),
              (std::vector<std::string>{"Creating unique filenames...", "0", "33", "66",
                                        "Archiving files...", "0", "33", "66", "100"}));
    const std::string question = dialogs.Shown().back().Text;
    EXPECT_EQ(question, "Archiving completed.\r\nThe index page is located at:\r\n\r\n" +
                            archive.Path() +
                            "arch/1st_page.htm\r\n\r\nDo you wish to load this index now?");
}

TEST_F(ArchiveRunTest, ArchivingAgainKeepsOneFileAndOneEntry) {
    TCacheItem& item = Cached("http://h:80/a.gif", 2, "first");
    {
        ArchiveRun run(Options(), {});
        RunAll(run);
    }
    WriteFile(item.CacheFile, "second");
    item.ArchiveName.clear();
    ArchiveRun run(Options(), {});
    RunAll(run);
    EXPECT_EQ(ReadFile(Archived("h/image/a.gif")), "second");
    EXPECT_FALSE(FileExists(Archived("h/image/a(1).gif")));
    EXPECT_EQ(LoadArchiveInfo(Archived("archive.dat")).size(), 1u);
}

TEST_F(ArchiveRunTest, AnItemWhoseTypeCouldNotBeRecordedFailsAndSaysWhy) {
    WriteFile(cache / "a-file", "");
    LoadMimeTypes(cache / "a-file/types/");
    Cached("http://h:80/odd", ContentCodeOf("x/odd"), "x");
    Cached("http://h:80/kept.gif", 2, "kept");
    ArchiveRun run(Options(), {});
    const ArchiveRunResult result = RunAll(run);
    EXPECT_EQ(result.ArchivedCount, 1u);
    EXPECT_EQ(result.FailedCount, 1u);
    EXPECT_NE(result.FirstFailure.find("http://h:80/odd has no content code: cannot record the "
                                       "content type \"x/odd\""),
              std::string::npos)
        << result.FirstFailure;
}

// Both runs load the type table before either meets its new type.
TEST_F(ArchiveRunTest, RunsAtOnceRecordDifferentCodesForDifferentTypes) {
    const std::string types[] = {"x/first", "x/second"};
    const std::vector<int> statuses = testing::RunAtOnce(2, [&](int i) {
        Cached("http://h:80/" + std::to_string(i), ContentCodeOf(types[i]), "x");
        ArchiveRunOptions options = Options();
        options.ArchiveDir = archive / std::to_string(i);
        options.AskQuestions = false;
        ArchiveRun run(options, {});
        return RunAll(run).ArchivedCount == 1 ? 0 : 1;
    });
    EXPECT_EQ(statuses, (std::vector<int>{0, 0}));
    // Each stored code names its own type in the table both runs shared, not only in
    // the table each archive carries.
    LoadMimeTypes(cache.Path());
    for (int i = 0; i < 2; ++i) {
        const std::string dir = archive / std::to_string(i);
        ASSERT_EQ(::unlink((dir + "/archive_types.dat").c_str()), 0);
        EXPECT_EQ(ContentTypeOf(LoadArchiveInfo(dir + "/archive.dat").at(0)->Kind), types[i]);
    }
}

TEST_F(ArchiveRunTest, OnlyWrittenCopiesAreRecorded) {
    TCacheItem& gone = Cached("http://h:80/gone.gif", 2, "x");
    ::unlink(gone.CacheFile.c_str());
    Cached("http://..:80/escape.gif", 2, "x", "..");
    Cached("http://h:80/kept.gif", 2, "kept");
    ArchiveRun run(Options(), {});
    const ArchiveRunResult result = RunAll(run);

    EXPECT_EQ(result.ArchivedCount, 1u);
    EXPECT_EQ(result.FailedCount, 2u);
    // The windows say how many failed and why the first did, in the system's words.
    EXPECT_NE(result.FirstFailure.find(gone.CacheFile + ": No such file or directory"),
              std::string::npos);
    EXPECT_EQ(dialogs.Shown().front().Text, FailedItemsText(result));
    const TCacheItemList recorded = LoadArchiveInfo(Archived("archive.dat"));
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0]->Url, "http://h:80/kept.gif");
    EXPECT_FALSE(FileExists(archive / "escape.gif"));
    EXPECT_FALSE(FileExists(Archived("escape.gif")));
}

TEST_F(ArchiveRunTest, CancelKeepsWhatWasArchivedBefore) {
    for (int i = 0; i < 10; ++i) {
        Cached("http://h:80/" + std::to_string(i) + ".gif", 2, "x");
    }
    ArchiveRunHooks hooks;
    ArchiveRun* running = nullptr;
    bool archiving = false;
    hooks.SetStage = [&](const std::string& stage) { archiving = stage == "Archiving files..."; };
    hooks.SetProgress = [&](int percent) {
        if (archiving && percent >= 30) {
            running->RequestCancel();
        }
    };
    ArchiveRun run(Options(), hooks);
    running = &run;
    const ArchiveRunResult result = RunAll(run);

    EXPECT_EQ(result.Outcome, ArchiveOutcome::Cancelled);
    EXPECT_EQ(result.ArchivedCount, 4u);  // the item at 30 % is still finished
    EXPECT_EQ(LoadArchiveInfo(Archived("archive.dat")).size(), 4u);
    EXPECT_TRUE(dialogs.Shown().empty());  // no completion question after a cancel
}

TEST_F(ArchiveRunTest, CancelWhileNamingTakesEffectAfterTheFirstArchivedItem) {
    for (int i = 0; i < 3; ++i) {
        Cached("http://h:80/" + std::to_string(i) + ".gif", 2, "x");
    }
    ArchiveRunHooks hooks;
    ArchiveRun* running = nullptr;
    hooks.SetStage = [&](const std::string& stage) {
        if (stage == "Creating unique filenames...") {
            running->RequestCancel();
        }
    };
    ArchiveRun run(Options(), hooks);
    running = &run;
    const ArchiveRunResult result = RunAll(run);
    EXPECT_EQ(result.Outcome, ArchiveOutcome::Cancelled);
    EXPECT_EQ(result.ArchivedCount, 1u);
}

TEST_F(ArchiveRunTest, AnUnreadableArchiveInfoStopsTheRunAndSurvives) {
    Cached("http://h:80/a.gif", 2, "x");
    MakeDirectoryPath(Archived("archive.dat"));
    ArchiveRun run(Options(), {});
    const ArchiveRunResult result = RunAll(run);
    EXPECT_EQ(result.Outcome, ArchiveOutcome::Failed);
    EXPECT_EQ(dialogs.Shown().back().Icon, DialogIcon::Error);
    EXPECT_TRUE(IsDirectory(Archived("archive.dat")));
    EXPECT_FALSE(FileExists(Archived("h/image/a.gif")));
}

TEST_F(ArchiveRunTest, ASecondRunIntoTheDirectoryIsRefusedAndChangesNothing) {
    Cached("http://h:80/a.gif", 2, "x");
    {
        const ArchiveLock first(Archived(""));
        ArchiveRun run(Options(), {});
        const ArchiveRunResult result = RunAll(run);
        EXPECT_EQ(result.Outcome, ArchiveOutcome::Failed);
        EXPECT_NE(result.Error.find(ArchiveBusyText), std::string::npos);
        ASSERT_EQ(dialogs.Shown().size(), 1u);  // no question calls the run completed
        EXPECT_EQ(dialogs.Shown()[0].Icon, DialogIcon::Error);
        EXPECT_FALSE(FileExists(Archived("archive.dat")));
        EXPECT_FALSE(FileExists(Archived("h/image/a.gif")));
    }
    ArchiveRun run(Options(), {});
    EXPECT_EQ(RunAll(run).Outcome, ArchiveOutcome::Completed);
}

TEST_F(ArchiveRunTest, OnlyArkivoIEStoresTheSettingsAfterACompletedRun) {
    Cached("http://h:80/a.gif", 2, "x");
    for (Edition edition : {Edition::Nav, Edition::IE}) {
        int stored = 0;
        ArchiveRunHooks hooks;
        hooks.StoreSettings = [&] { ++stored; };
        ArchiveRun run(Options(edition), hooks);
        RunAll(run);
        EXPECT_EQ(stored, edition == Edition::IE ? 1 : 0);
    }
}

TEST_F(ArchiveRunTest, YesOpensTheIndex) {
    Cached("http://h:80/a.gif", 2, "x");
    std::string opened;
    ArchiveRunHooks hooks;
    hooks.OpenDocument = [&](const std::string& path) { opened = path; };
    ArchiveRun run(Options(), hooks);
    dialogs.QueueAnswer(DialogResult::Yes);
    EXPECT_TRUE(RunAll(run).OpenIndex);
    EXPECT_EQ(opened, Archived("1st_page.htm"));
}

TEST_F(ArchiveRunTest, PagesLinkToEachOtherInsideTheArchive) {
    Cached("http://h:80/dir/index.html", 1, "<A HREF=\"next.html\">next</A><IMG SRC=\"pic.gif\">");
    Cached("http://h:80/dir/next.html", 1, "<TITLE>Next</TITLE>");
    Cached("http://h:80/dir/pic.gif", 2, "GIF89a");
    ArchiveRunOptions options = Options();
    options.Links.EmphasizeLinks = false;
    ArchiveRun run(options, {});
    RunAll(run);
    EXPECT_EQ(ReadFile(Archived("h/text/index.htm")),
              "<A HREF=\"../../h/text/next.htm\">next</A><IMG SRC=\"../../h/image/pic.gif\">");
    const TCacheItemList recorded = LoadArchiveInfo(Archived("archive.dat"));
    ASSERT_EQ(recorded.size(), 3u);
    EXPECT_EQ(recorded[1]->Title, "Next");
}

TEST_F(ArchiveRunTest, PagesOverTheLimitAreArchivedAsTheyStandAndReported) {
    const std::string big = "<TITLE>Big</TITLE><A HREF=\"small.html\">s</A>";
    Cached("http://h:80/big.html", 1, big);
    Cached("http://h:80/small.html", 1, "<A HREF=\"big.html\">b</A>");
    ArchiveRunOptions options = Options();
    options.AskQuestions = false;
    options.Links.EmphasizeLinks = false;
    options.PageRewriteLimit = 30;
    ArchiveRun run(options, {});
    EXPECT_EQ(RunAll(run).ArchivedCount, 2u);
    EXPECT_EQ(ReadFile(Archived("h/text/big.htm")), big);
    EXPECT_EQ(ReadFile(Archived("h/text/small.htm")), "<A HREF=\"../../h/text/big.htm\">b</A>");
    EXPECT_EQ(LoadArchiveInfo(Archived("archive.dat"))[0]->Title, "Big");
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].Text,
              "1 page larger than 30 bytes was archived as it stands: its links were not "
              "rewritten.");
}

// The readers give "http://H:80/dir/a.htm" and "http://h/dir/a.htm" one URL.
TEST_F(ArchiveRunTest, AUrlMetTwiceGetsOneFileFromTheLastItemUnderTheFirstName) {
    Cached("http://h:80/dir/a.htm", 1, "<TITLE>Old</TITLE>old");
    Cached("http://h:80/dir/index.htm", 1, "<A HREF=\"a.htm\">a</A>");
    Cached("http://h:80/dir/a.htm", 1, "<TITLE>New</TITLE>new").Date = 45001.0;
    ArchiveRun run(Options(), {});
    EXPECT_EQ(RunAll(run).ArchivedCount, 2u);
    EXPECT_EQ(ReadFile(Archived("h/text/a.htm")), "<TITLE>New</TITLE>new");
    EXPECT_FALSE(FileExists(Archived("h/text/a(1).htm")));
    EXPECT_EQ(ReadFile(Archived("h/text/index.htm")), "<A HREF=\"../../h/text/a.htm\">a</A>");
    const TCacheItemList recorded = LoadArchiveInfo(Archived("archive.dat"));
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[0]->ArchiveName, "a.htm");
    EXPECT_EQ(recorded[0]->Title, "New");
    EXPECT_EQ(recorded[0]->Date, 45001.0);
}

TEST_F(ArchiveRunTest, AUrlMetTwiceWithTwoTypesIsWrittenInTheFolderOfTheLastItem) {
    Cached("http://h:80/x", 2, "GIF89a");
    Cached("http://h:80/x", 1, "<P>page");
    ArchiveRun run(Options(), {});
    RunAll(run);
    EXPECT_EQ(ReadFile(Archived("h/text/x.htm")), "<P>page");
    EXPECT_FALSE(FileExists(Archived("h/image/x.gif")));
    EXPECT_EQ(LoadArchiveInfo(Archived("archive.dat")).size(), 1u);
}

TEST_F(ArchiveRunTest, ItemsBeyondSixteenBitsAreStillArchived) {
    // Unclassified items are named but never copied, which keeps this cheap; the
    // ten items that follow them lie past index 65535.
    auto& first = Cached("http://h:80/0.gif", 0, "x");
    for (int i = 1; i < 66000; ++i) {
        auto item = std::make_unique<TCacheItem>(first);
        item->Url = "http://h:80/" + std::to_string(i) + ".gif";
        item->Kind = i < 65990 ? 0 : 2;
        items.push_back(std::move(item));
    }
    ArchiveRun run(Options(), {});
    const ArchiveRunResult result = RunAll(run);
    EXPECT_EQ(result.ArchivedCount, 10u);
    const TCacheItemList recorded = LoadArchiveInfo(Archived("archive.dat"));
    ASSERT_EQ(recorded.size(), 10u);
    EXPECT_EQ(recorded.back()->Url, "http://h:80/65999.gif");
}

TEST_F(ArchiveRunTest, TheWebArchiveHoldsTheCachedBytesOfTheItemsArchived) {
    const std::string page = "<A HREF=\"a.gif\">a</A>";
    Recorded("http://h:80/dir/page.html", 1, page);
    Recorded("http://h:80/dir/a.gif", 2, "GIF89a");
    Recorded("http://..:80/escape.gif", 2, "x", "..");  // no safe name: not archived
    Recorded("http://h:80/odd", UnknownContentCode, "x");
    ArchiveRun run(WebArchiveOptions(), RecordingHooks());
    const ArchiveRunResult result = RunAll(run);
    EXPECT_EQ(result.ArchivedCount, 2u);
    EXPECT_EQ(result.Outcome, ArchiveOutcome::Completed) << result.Error;
    EXPECT_NE(std::find(trace.begin(), trace.end(), WebArchiveStageText), trace.end());

    const std::vector<std::string> warcs = WarcFiles();
    ASSERT_EQ(warcs.size(), 1u);
    EXPECT_TRUE(std::regex_match(warcs[0], std::regex(R"(arkivo-\d{8}T\d{6}Z\.warc\.gz)")))
        << warcs[0];
    const std::vector<std::string> lines = IndexLinesFor(warcs[0]);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(IndexLineCount(), 2u);
    EXPECT_NE(lines[0].find("\"url\":\"http://h:80/dir/a.gif\""), std::string::npos);
    EXPECT_NE(lines[1].find("\"url\":\"http://h:80/dir/page.html\""), std::string::npos);
    // The page as it was cached, not as its rewritten copy in the archive.
    Digest sha1(DigestAlgorithm::Sha1);
    sha1.Add(page);
    EXPECT_NE(lines[1].find("\"digest\":\"" + Base32(sha1.Finish()) + "\""), std::string::npos)
        << lines[1];
}

TEST_F(ArchiveRunTest, EachRunAddsAWarcAndTheIndexKeepsOnlyThoseStillThere) {
    Recorded("http://h:80/a.gif", 2, "one");
    {
        ArchiveRun run(WebArchiveOptions(), {});
        ASSERT_EQ(RunAll(run).Outcome, ArchiveOutcome::Completed);
    }
    Recorded("http://h:80/b.gif", 2, "two");
    {
        ArchiveRun run(WebArchiveOptions(), {});
        ASSERT_EQ(RunAll(run).Outcome, ArchiveOutcome::Completed);
    }
    std::vector<std::string> warcs = WarcFiles();
    ASSERT_EQ(warcs.size(), 2u);
    std::vector<std::size_t> counts{IndexLinesFor(warcs[0]).size(), IndexLinesFor(warcs[1]).size()};
    std::sort(counts.begin(), counts.end());
    EXPECT_EQ(counts, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(IndexLineCount(), 3u);

    // A removed WARC loses its lines, even when the next one takes its name.
    ASSERT_EQ(::unlink(Archived("web+archive/" + warcs[0]).c_str()), 0);
    ASSERT_EQ(::unlink(Archived("web+archive/" + warcs[1]).c_str()), 0);
    ArchiveRun run(WebArchiveOptions(), {});
    ASSERT_EQ(RunAll(run).Outcome, ArchiveOutcome::Completed);
    warcs = WarcFiles();
    ASSERT_EQ(warcs.size(), 1u);
    EXPECT_EQ(IndexLinesFor(warcs[0]).size(), 2u);
    EXPECT_EQ(IndexLineCount(), 2u);
}

TEST_F(ArchiveRunTest, AnItemLeftOutOfTheWebArchiveFailsTheRunAndSaysWhy) {
    Recorded("http://h:80/a.gif", 2, "one");
    Cached("http://h:80/b.gif", 2, "two");  // no record of its cache entry
    ArchiveRun run(WebArchiveOptions(), {});
    const ArchiveRunResult result = RunAll(run);
    EXPECT_EQ(result.ArchivedCount, 2u);
    EXPECT_EQ(result.Outcome, ArchiveOutcome::Failed);
    const std::vector<std::string> warcs = WarcFiles();
    ASSERT_EQ(warcs.size(), 1u);
    EXPECT_EQ(result.Error, "1 item was left out of the web archive " +
                                Archived("web+archive/" + warcs[0]) +
                                "; the first: the cache gave no record for http://h:80/b.gif");
    EXPECT_EQ(IndexLinesFor(warcs[0]).size(), 1u);
    EXPECT_EQ(LoadArchiveInfo(Archived("archive.dat")).size(), 2u);
}

TEST_F(ArchiveRunTest, CancelWhileWritingTheWebArchiveKeepsNoWarc) {
    for (int i = 0; i < 4; ++i) {
        Recorded("http://h:80/" + std::to_string(i) + ".gif", 2, "x");
    }
    ArchiveRunHooks hooks;
    ArchiveRun* running = nullptr;
    bool writing = false;
    hooks.SetStage = [&](const std::string& stage) { writing = stage == WebArchiveStageText; };
    hooks.SetProgress = [&](int percent) {
        if (writing && percent >= 50) {
            running->RequestCancel();
        }
    };
    ArchiveRun run(WebArchiveOptions(), hooks);
    running = &run;
    const ArchiveRunResult result = RunAll(run);
    EXPECT_EQ(result.Outcome, ArchiveOutcome::Cancelled);
    EXPECT_EQ(LoadArchiveInfo(Archived("archive.dat")).size(), 4u);
    EXPECT_TRUE(std::filesystem::is_empty(Archived("web+archive")));
}

}  // namespace
}  // namespace arkivo
