// arkivo archive run as a program: the archive it writes and extends, the stored
// settings and the flags that override them, progress, Ctrl+C and exit statuses,
// the web archive beside it, and, end to end, links of every form leading to the
// right archived files.

#include <signal.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "archive/archive_lock.h"
#include "archiver/archive_run.h"
#include "cli_tool.h"
#include "link_checker.h"
#include "model/file_utils.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;

constexpr const char* ExportSection =
    "[HKEY_CURRENT_USER\\Software\\Quenlow\\Arkivo\\Export to disk properties]\r\n";

// How often text occurs in bytes.
std::size_t Occurrences(const std::string& bytes, const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = bytes.find(text); at != std::string::npos;
         at = bytes.find(text, at + 1)) {
        ++count;
    }
    return count;
}

class CliArchiveTest : public CliTest {
  protected:
    // A page linking to a cached picture and to a page that is not cached, on two
    // domains.
    std::string Cache() {
        return WriteTextCache(dir_ / "cache/",
                              {
                                  {"http://a.example/index.htm", "text/html", 1,
                                   "<A HREF=\"http://b.example/logo.gif\">logo</A> "
                                   "<A HREF=\"http://c.example/gone.htm\">gone</A>"},
                                  {"http://b.example/logo.gif", "image/gif", 2, "GIF89a"},
                              });
    }

    Outcome Archive(const std::string& options) {
        return RunTool("archive --nav " + Quote(Cache()) + " " + options);
    }

    void WriteSettings(const std::string& values) {
        WriteFile(SettingsFile(), "REGEDIT4\r\n\r\n" + std::string(ExportSection) + values);
    }

    // The archived copy of the page after a run with the options.
    std::string ArchivedPage(const std::string& options) {
        const std::string archive = dir_ / ("archive" + std::to_string(runs_++));
        const Outcome outcome = Archive("--to " + Quote(archive) + " " + options);
        EXPECT_EQ(outcome.Status, 0) << outcome.Err;
        return ReadWholeFile(archive + "/a.example/text/index.htm").value_or("");
    }

    int runs_ = 0;
};

TEST_F(CliArchiveTest, ArchivesIntoANewDirectoryWithItsParents) {
    const std::string archive = dir_ / "new/parent/archive";
    const Outcome outcome = Archive("--to " + Quote(archive));
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out, "2 items archived; index page " + archive + "/1st_page.htm\n");
    EXPECT_TRUE(FileExists(archive + "/1st_page.htm"));
    EXPECT_TRUE(FileExists(archive + "/b.example/image/logo.gif"));
    const std::string dat = ReadFile(archive + "/archive.dat");
    EXPECT_EQ(Occurrences(dat, "http://a.example:80/index.htm"), 1u);
    EXPECT_EQ(Occurrences(dat, "http://b.example:80/logo.gif"), 1u);
    // Not a terminal: the stage texts alone, one line each, and no question.
    EXPECT_TRUE(outcome.Err.starts_with("Creating unique filenames...\nArchiving files...\n"))
        << outcome.Err;
    EXPECT_EQ(outcome.Err.find('\r'), std::string::npos);
    EXPECT_EQ(outcome.Err.find("does not exist"), std::string::npos);
}

TEST_F(CliArchiveTest, ASecondRunReadsKeepsAndExtendsTheArchive) {
    const std::string archive = dir_ / "archive";
    const Outcome first = Archive("--to " + Quote(archive) + " --domain b.example");
    ASSERT_EQ(first.Status, 0) << first.Err;
    EXPECT_EQ(first.Out, "1 item archived; index page " + archive + "/1st_page.htm\n");
    EXPECT_EQ(Occurrences(ReadFile(archive + "/archive.dat"), "http://a.example"), 0u);

    const Outcome second = Archive("--to " + Quote(archive));
    ASSERT_EQ(second.Status, 0) << second.Err;
    const std::string dat = ReadFile(archive + "/archive.dat");
    EXPECT_EQ(Occurrences(dat, "http://a.example:80/index.htm"), 1u);
    // The picture archived before keeps its one entry and its file's name.
    EXPECT_EQ(Occurrences(dat, "http://b.example:80/logo.gif"), 1u);
    EXPECT_FALSE(FileExists(archive + "/b.example/image/logo(1).gif"));
    // The page links to the picture archived by the first run.
    EXPECT_NE(ReadFile(archive + "/a.example/text/index.htm")
                  .find("<A HREF=\"../../b.example/image/logo.gif\">"),
              std::string::npos);
}

TEST_F(CliArchiveTest, WithoutToUsesTheStoredArchiveDirectory) {
    const std::string chosen = dir_ / "chosen/";
    WriteSettings("\"Export directory\"=\"1\"\r\n\"export directory name\"=\"" + chosen + "\"\r\n");
    const Outcome outcome = Archive("");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out, "2 items archived; index page " + chosen + "1st_page.htm\n");
    EXPECT_TRUE(FileExists(chosen + "archive.dat"));
}

TEST_F(CliArchiveTest, NoStoredArchiveDirectoryAndNoToIsAUsageError) {
    WriteSettings("\"Export directory\"=\"1\"\r\n");
    const Outcome outcome = Archive("");
    EXPECT_EQ(outcome.Status, 2);
    EXPECT_NE(outcome.Err.find("arkivo: no archive directory is set; name one with --to DIR"),
              std::string::npos)
        << outcome.Err;
}

TEST_F(CliArchiveTest, LinkOptionsComeFromTheSettings) {
    // First run: links to pages not archived keep their address and are struck out.
    EXPECT_EQ(ArchivedPage(""),
              "<A HREF=\"../../b.example/image/logo.gif\">logo</A> "
              "<A HREF=\"http://c.example/gone.htm\"><STRIKE>gone</STRIKE></A>");
    WriteSettings(
        "\"Show original URLS\"=\"0\"\r\n\"Strikeout links\"=\"0\"\r\n\"Emphasize links\"=\"1\"\r\n"
        "\"Emphasize Type\"=\"1\"\r\n");
    EXPECT_EQ(ArchivedPage(""),
              "<A HREF=\"../../b.example/image/logo.gif\"><I>logo</I></A> "
              "<A HREF=\"../../notfound.htm\">gone</A>");
}

TEST_F(CliArchiveTest, FlagsOverrideTheStoredLinkOptions) {
    WriteSettings(
        "\"Show original URLS\"=\"0\"\r\n\"Strikeout links\"=\"0\"\r\n\"Emphasize links\"=\"1\"\r\n"
        "\"Emphasize Type\"=\"3\"\r\n\"EmphasizeTag\"=\"EM\"\r\n\"DeEmphasizeTag\"=\"/EM\"\r\n");
    EXPECT_EQ(ArchivedPage("--original-urls --strikeout --no-emphasize"),
              "<A HREF=\"../../b.example/image/logo.gif\">logo</A> "
              "<A HREF=\"http://c.example/gone.htm\"><STRIKE>gone</STRIKE></A>");
    EXPECT_EQ(ArchivedPage("--emphasize"),
              "<A HREF=\"../../b.example/image/logo.gif\"><EM>logo</EM></A> "
              "<A HREF=\"../../notfound.htm\">gone</A>");
    EXPECT_EQ(ArchivedPage("--emphasize=larger --strikeout --no-strikeout"),
              "<A HREF=\"../../b.example/image/logo.gif\"><FONT SIZE=+1>logo</FONT></A> "
              "<A HREF=\"../../notfound.htm\">gone</A>");
}

TEST_F(CliArchiveTest, WarcFlagsOverrideTheStoredWebArchiveSetting) {
    // Whether a run with the options wrote a WARC and its index into web+archive.
    const auto writesWarc = [this](const std::string& options) {
        const std::string archive = dir_ / ("archive" + std::to_string(runs_++));
        const Outcome outcome = Archive("--to " + Quote(archive) + " " + options);
        const std::string folder = archive + "/web+archive";
        if (!IsDirectory(folder)) {
            EXPECT_EQ(outcome.Err.find(WebArchiveStageText), std::string::npos) << options;
            return false;
        }
        EXPECT_NE(outcome.Err.find(WebArchiveStageText), std::string::npos) << options;
        EXPECT_TRUE(FileExists(folder + "/index.cdxj")) << options;
        std::size_t warcs = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            warcs += entry.path().string().ends_with(".warc.gz") ? 1 : 0;
        }
        EXPECT_EQ(warcs, 1u) << options;
        return true;
    };
    EXPECT_FALSE(writesWarc(""));
    EXPECT_TRUE(writesWarc("--warc"));
    WriteSettings("\"Write web archive\"=\"1\"\r\n");
    EXPECT_TRUE(writesWarc(""));
    EXPECT_FALSE(writesWarc("--no-warc"));
}

TEST_F(CliArchiveTest, NothingChosenIsNothingToDo) {
    const Outcome outcome = Archive("--to " + Quote(dir_ / "archive") + " --types other");
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_TRUE(outcome.Out.empty());
    EXPECT_NE(outcome.Err.find("arkivo: No files to archive."), std::string::npos) << outcome.Err;
    EXPECT_FALSE(FileExists(dir_ / "archive"));
}

// Items whose type gets no code are never archived: a run of only those leaves an
// archive without items, whose index page is gone.
TEST_F(CliArchiveTest, ARunThatArchivesNothingNamesNoIndexPage) {
    const std::string index =
        WriteTextCache(dir_ / "untyped/", {{"http://a.example/x", "zz", 1, "x"}});
    const std::string archive = dir_ / "archive";
    const Outcome outcome = RunTool("archive --nav " + Quote(index) + " --to " + Quote(archive));
    EXPECT_EQ(outcome.Status, 1) << outcome.Err;
    EXPECT_EQ(outcome.Out,
              "0 items archived; the archive holds no items, so it has no index page\n");
    EXPECT_FALSE(FileExists(archive + "/1st_page.htm"));

    // The only item fails: the run failed.
    const std::string failing =
        WriteTextCache(dir_ / "bad/", {{"http://a.example/p.htm", "text/html", 1, "x"}});
    WriteFile(dir_ / "other/a.example/text", "a file where the page's folder belongs");
    const Outcome failed = RunTool("archive --nav " + Quote(failing) + " --to " +
                                   Quote(dir_ / "other") + " --types text");
    EXPECT_EQ(failed.Status, 4);
    EXPECT_EQ(failed.Out,
              "0 items archived; the archive holds no items, so it has no index page\n");
    EXPECT_NE(failed.Err.find("arkivo: 1 item could not be archived"), std::string::npos)
        << failed.Err;
}

TEST_F(CliArchiveTest, ADirectoryThatCannotBeMadeFailsTheRun) {
    WriteFile(dir_ / "file", "x");
    const Outcome outcome = Archive("--to " + Quote(dir_ / "file/archive"));
    EXPECT_EQ(outcome.Status, 4);
    EXPECT_TRUE(outcome.Out.empty());
    EXPECT_NE(
        outcome.Err.find("Could not create directory.\nCheck the archive directory settings."),
        std::string::npos)
        << outcome.Err;
}

TEST_F(CliArchiveTest, AnItemThatCannotBeArchivedIsCountedAndFailsTheRun) {
    const std::string index = Cache();
    const std::string archive = dir_ / "archive";
    // A file where the page's folder belongs: the page cannot be written, whoever runs.
    WriteFile(archive + "/a.example/text", "in the way");
    const Outcome outcome = RunTool("archive --nav " + Quote(index) + " --to " + Quote(archive));
    EXPECT_EQ(outcome.Status, 4);
    EXPECT_EQ(outcome.Out, "1 item archived; index page " + archive + "/1st_page.htm\n");
    EXPECT_NE(outcome.Err.find("arkivo: 1 item could not be archived; the first: cannot open the "
                               "folder of " +
                               archive + "/a.example/text/index.htm: Not a directory"),
              std::string::npos)
        << outcome.Err;
    EXPECT_EQ(Occurrences(ReadFile(archive + "/archive.dat"), "http://"), 1u);
}

TEST_F(CliArchiveTest, ASecondRunIntoTheSameDirectoryIsRefused) {
    const std::string archive = dir_ / "archive";
    MakeDirectoryPath(archive);
    const ArchiveLock running(archive);
    const Outcome outcome = Archive("--to " + Quote(archive));
    EXPECT_EQ(outcome.Status, 4);
    EXPECT_NE(outcome.Err.find(ArchiveBusyText), std::string::npos) << outcome.Err;
    EXPECT_FALSE(FileExists(archive + "/archive.dat"));
}

TEST_F(CliArchiveTest, ACompletedInternetExplorerRunStoresTheSettings) {
    const std::string ie = dir_ / "ie/";
    std::filesystem::copy(TestDataDir() + "/ie/typical", ie,
                          std::filesystem::copy_options::recursive);
    const Outcome nav = Archive("--to " + Quote(dir_ / "nav-archive"));
    ASSERT_EQ(nav.Status, 0) << nav.Err;
    EXPECT_FALSE(FileExists(SettingsFile()));

    const std::string archive = dir_ / "ie-archive";
    const Outcome outcome = RunTool("archive --ie " + Quote(ie) + " --to " + Quote(archive));
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_TRUE(outcome.Out.ends_with(" archived; index page " + archive + "/1st_page.htm\n"))
        << outcome.Out;
    const std::string settings = ReadFile(SettingsFile());
    EXPECT_NE(settings.find("\"Export directory\"=\"0\""), std::string::npos) << settings;
    EXPECT_NE(settings.find("\"Emphasize links\"=\"0\""), std::string::npos) << settings;
}

TEST_F(CliArchiveTest, OnATerminalProgressIsABarRedrawnInPlace) {
    const std::string archive = dir_ / "archive";
    const Outcome outcome = RunOnTerminal({"archive", "--nav", Cache(), "--to", archive});
    EXPECT_EQ(outcome.Status, 0) << outcome.Out;
    EXPECT_NE(outcome.Out.find("\rArchiving files... [..............................]   0%"),
              std::string::npos)
        << outcome.Out;
    EXPECT_NE(outcome.Out.find("\rArchiving files... [###############...............]  50%"),
              std::string::npos);
    EXPECT_NE(outcome.Out.find("2 items archived; index page " + archive + "/1st_page.htm"),
              std::string::npos);
}

// Ctrl+C while the items are copied: the run stops, and what was archived is in
// archive.dat; the index is not rebuilt.
TEST_F(CliArchiveTest, InterruptCancelsAndKeepsWhatWasArchived) {
    constexpr int Items = 4000;
    std::vector<TextCacheEntry> entries;
    for (int i = 0; i < Items; ++i) {
        entries.push_back(
            {"http://d" + std::to_string(i % 4) + ".example/p" + std::to_string(i) + ".gif",
             "image/gif", 1, "GIF89a"});
    }
    const std::string index = WriteTextCache(dir_ / "big/", entries);
    const std::string archive = dir_ / "archive";

    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], 2);
        ::close(pipeFds[0]);
        ::execl(Tool.c_str(), Tool.c_str(), "archive", "--nav", index.c_str(), "--to",
                archive.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    std::string err;
    bool interrupted = false;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        err.append(buffer, static_cast<std::size_t>(got));
        if (!interrupted && err.find("Archiving files...\n") != std::string::npos) {
            interrupted = ::kill(pid, SIGINT) == 0;
        }
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(interrupted) << err;
    ASSERT_TRUE(WIFEXITED(status)) << err;
    EXPECT_EQ(WEXITSTATUS(status), 4) << err;

    const std::string prefix = "arkivo: cancelled; the ";
    const std::size_t at = err.find(prefix);
    ASSERT_NE(at, std::string::npos) << err;
    const int archived = std::stoi(err.substr(at + prefix.size()));
    EXPECT_GT(archived, 0);
    EXPECT_LT(archived, Items);
    EXPECT_NE(err.find("archived so far are recorded in " + archive + "/archive.dat"),
              std::string::npos);
    EXPECT_EQ(Occurrences(ReadFile(archive + "/archive.dat"), "http://"),
              static_cast<std::size_t>(archived));
    EXPECT_FALSE(FileExists(archive + "/1st_page.htm"));
    EXPECT_EQ(err.find("Indexing"), std::string::npos);
}

// The HREF value of an A tag's attributes as a browser reads it; names inside other
// values (TITLE="HREF=x") do not count.
std::string HrefOf(const std::string& attributes) {
    static const std::regex href(R"re((?:^|\s)HREF\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re",
                                 std::regex::icase);
    std::smatch found;
    if (!std::regex_search(attributes, found, href)) {
        return "";
    }
    const std::string value = found[1].matched ? found[1] : found[2].matched ? found[2] : found[3];
    const std::size_t first = value.find_first_not_of(" \t\r\n");
    return first == std::string::npos
               ? ""
               : value.substr(first, value.find_last_not_of(" \t\r\n") - first + 1);
}

// End to end: an Internet Explorer cache whose page links in each form the rewriter
// must get right is archived by the tool; linkchecker finds no broken link in the
// archive, and every rewritten link opens the archived file of the page it named.
TEST_F(CliArchiveTest, EveryFormOfLinkOpensItsArchivedPage) {
    const std::string writer = std::string(ARKIVO_BINARY_DIR) + "/tools/ie_fixture_writer";
    if (!FileExists(writer) || !HasLinkChecker()) {
        GTEST_SKIP() << "needs " << writer << " and linkchecker";
    }
    const std::string index =
        "<TITLE>Index</TITLE>\n"
        "<A HREF=\"my%20page.htm\">percent</A>\n"
        "<A HREF=\"long.htm\" onMouseOver=\"window.status='" +
        std::string(200, '~') +
        "'; return true\" onMouseOut=\"window.status=''; return true\">long</A>\n"
        "<A HREF='single.htm'>single</A>\n"
        "<A HREF=\"  blanks.htm  \">blanks</A>\n"
        "<A TITLE=\"HREF=x\" HREF=\"title.htm\">title</A>\n"
        "<A HREF=\"dup.htm\">dup</A>\n"
        "<A HREF=\"javascript:void(0)\">script</A>\n"
        "<A HREF=\"mailto:someone@site.example\">mail</A>\n"
        "<A HREF=\"news:comp.infosystems.www\">news</A>\n";
    // URL and body of each page; the last two share one URL once the reader has put
    // them in its form.
    const std::vector<std::pair<std::string, std::string>> pages = {
        {"http://www.site.example/dir/index.htm", index},
        {"http://www.site.example/dir/my%20page.htm", "PAGE percent"},
        {"http://www.site.example/dir/long.htm", "PAGE long"},
        {"http://www.site.example/dir/single.htm", "PAGE single"},
        {"http://www.site.example/dir/blanks.htm", "PAGE blanks"},
        {"http://www.site.example/dir/title.htm", "PAGE title"},
        {"http://WWW.SITE.example:80/dir/dup.htm", "PAGE dup one"},
        {"http://www.site.example/dir/dup.htm", "PAGE dup two"},
    };
    std::string manifest;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string file = "page" + std::to_string(i);
        WriteFile(dir_ / ("site/" + file), pages[i].second);
        manifest += pages[i].first + "\ttext/html\t2026-11-02 10:00:00\t" + file + "\n";
    }
    WriteFile(dir_ / "site/manifest", manifest);
    const std::string cache = dir_ / "ie/";
    ASSERT_EQ(RunCommand(writer + " --manifest " + Quote(dir_ / "site/manifest") + " " +
                         Quote(cache) + " >/dev/null")
                  .Status,
              0);
    const std::string archive = dir_ / "archive";
    const Outcome outcome = RunTool("archive --ie " + Quote(cache) + " --to " + Quote(archive));
    ASSERT_EQ(outcome.Status, 0) << outcome.Err;

    // The entry of dup.htm the reader meets last supplies the one copy.
    std::string dupBody;
    std::istringstream listing(RunTool("items --ie " + Quote(cache) + " --json").Out);
    for (std::string line; std::getline(listing, line);) {
        const std::size_t file = line.find("\"file\": \"");
        if (line.find("/dir/dup.htm\"") != std::string::npos && file != std::string::npos) {
            const std::size_t start = file + 9;
            dupBody = ReadFile(line.substr(start, line.find('"', start) - start));
        }
    }
    ASSERT_TRUE(dupBody.starts_with("PAGE dup")) << dupBody;
    const std::string folder = archive + "/www.site.example/text/";
    std::string indexName;
    int dupCopies = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string body = ReadFile(entry.path());
        if (body.starts_with("<TITLE>Index")) {
            indexName = entry.path().filename();
        }
        dupCopies += body.starts_with("PAGE dup") ? 1 : 0;
    }
    EXPECT_EQ(dupCopies, 1);
    ASSERT_FALSE(indexName.empty());

    // Each rewritten link opens the archived copy of the page it named; links that lead
    // nowhere in the archive stay as written.
    const std::map<std::string, std::string> kept = {{"script", "javascript:void(0)"},
                                                     {"mail", "mailto:someone@site.example"},
                                                     {"news", "news:comp.infosystems.www"}};
    const std::string rewritten = ReadFile(folder + indexName);
    EXPECT_NE(rewritten.find("<A TITLE=\"HREF=x\" HREF="), std::string::npos) << rewritten;
    // An A tag's attributes and its text, past markup such as <STRIKE>.
    static const std::regex anchor("<A ([^>]*)>(?:<[^>]*>)*([^<]*)", std::regex::icase);
    int links = 0;
    for (std::sregex_iterator it(rewritten.begin(), rewritten.end(), anchor), end; it != end;
         ++it, ++links) {
        const std::string label = (*it)[2];
        const std::string href = HrefOf((*it)[1]);
        if (kept.contains(label)) {
            EXPECT_EQ(href, kept.at(label));
            continue;
        }
        const std::string target = folder + PercentDecoded(href);
        EXPECT_EQ(ReadWholeFile(target).value_or("no file " + target),
                  label == "dup" ? dupBody : "PAGE " + label)
            << label << ": " << href;
    }
    EXPECT_EQ(links, 9) << rewritten;

    // No link in the archive is broken, and the rewritten page is among those walked.
    MakeReadableToAll(dir_.Path());
    bool walked = false;
    for (const CheckedLink& link : CheckLinks(archive + "/1st_page.htm")) {
        EXPECT_TRUE(link.Valid) << link.Url << " (from " << link.Parent << "): " << link.Result;
        walked =
            walked || PercentDecoded(link.Url).ends_with("/www.site.example/text/" + indexName);
    }
    EXPECT_TRUE(walked);
}

}  // namespace
}  // namespace arkivo
