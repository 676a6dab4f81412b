// arkivo search run as a program: hits in file order as columns or JSON lines, the
// stored search directory, the input checks and exit statuses, and a search of an
// archive that arkivo archive wrote.

#include <sys/stat.h>

#include "cli_tool.h"
#include "model/cache_item.h"
#include "model/content_types.h"
#include "platform/path.h"
#include "shell/settings_store.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;

struct ArchivedEntry {
    std::string url;
    std::string name;
    std::string type;
    std::string body;  // empty: the copy was deleted
};

class CliSearchTest : public CliTest {
  protected:
    // An archive at dir_/archive/ holding the entries in this order.
    std::string Archive(const std::vector<ArchivedEntry>& entries) {
        LoadMimeTypes(dir_ / "mime/");
        const std::string archive = dir_ / "archive/";
        TMemoryStream stream;
        for (const ArchivedEntry& entry : entries) {
            TCacheItem item;
            item.Url = entry.url;
            item.ArchiveName = entry.name;
            item.Kind = ContentCodeOf(entry.type);
            item.SaveToStream(stream);
            const std::size_t host = entry.url.find("//") + 2;
            if (!entry.body.empty()) {
                WriteFile(archive + entry.url.substr(host, entry.url.find(':', host) - host) + "/" +
                              MajorTypeOf(item.Kind) + "/" + entry.name,
                          entry.body);
            }
        }
        WriteFile(archive + "archive.dat", stream.Bytes());
        return archive;
    }

    std::string Sample() {
        return Archive(
            {{"http://news.example:80/Today.html", "Today.htm", "text/html",
              "<h1>Weather</h1> sunny"},
             {"http://news.example:8080/photo.gif", "photo.gif", "image/gif", "sunny"},
             {"http://shop.example:80/gone.html", "gone.htm", "text/html", ""},
             {"http://shop.example:80/offer.html", "offer.htm", "text/html", "SUNNY days"}});
    }

    void Store(const char* section, const char* key, const std::string& value) {
        SettingsStore store(SettingsFile());
        ASSERT_TRUE(store.WriteString(section, key, value).ok());
    }
};

TEST_F(CliSearchTest, PrintsTheHitsInFileOrderInColumns) {
    const std::string archive = Sample();
    const Outcome outcome = RunTool("search " + Quote(archive) + " --text Sunny");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out,
              "CLASS  URL                             FILE\n"
              "text   http://news.example/Today.html  " +
                  archive + "news.example/text/Today.htm\n" +
                  "text   http://shop.example/offer.html  " + archive +
                  "shop.example/text/offer.htm\n");
    EXPECT_TRUE(outcome.Err.empty()) << outcome.Err;
}

TEST_F(CliSearchTest, JsonGivesUrlFileAndClassPerHit) {
    const std::string archive = Sample();
    const Outcome outcome = RunTool("search " + Quote(archive) + " --url NEWS --json");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out, "{\"url\": \"http://news.example/Today.html\", \"file\": \"" + archive +
                               "news.example/text/Today.htm\", \"class\": \"text\"}\n"
                               "{\"url\": \"http://news.example:8080/photo.gif\", \"file\": \"" +
                               archive + "news.example/image/photo.gif\", \"class\": \"image\"}\n");
}

TEST_F(CliSearchTest, UrlAndTextMustBothMatch) {
    const std::string archive = Sample();
    const Outcome outcome = RunTool("search " + Quote(archive) + " --url=:8080 --text sunny");
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_EQ(outcome.Out, "");
    EXPECT_EQ(outcome.Err, "arkivo: No files found.\n");
}

TEST_F(CliSearchTest, WithoutDirSearchesTheStoredSearchDirectory) {
    const std::string archive = Sample();
    Store("Search properties", "Search directory", ExcludeTrailingSeparator(archive));
    const Outcome outcome = RunTool("search --url offer --json");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_NE(outcome.Out.find("\"file\": \"" + archive + "shop.example/text/offer.htm\""),
              std::string::npos)
        << outcome.Out;
}

TEST_F(CliSearchTest, WithoutAStoredSearchDirectoryTheDefaultDirectoryIsSearched) {
    const std::string archive = Sample();
    Store("Export to disk properties", "Default directory", archive);
    const Outcome outcome = RunTool("search --url offer");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
}

TEST_F(CliSearchTest, ADirectoryThatIsNoneIsUnreadableInput) {
    const Outcome outcome = RunTool("search " + Quote(dir_ / "nowhere") + " --url x");
    EXPECT_EQ(outcome.Status, 3);
    EXPECT_EQ(outcome.Err, "arkivo: Couldn't find directory\n\n" + (dir_ / "nowhere") + "\n");
}

TEST_F(CliSearchTest, ADirectoryWithoutArchiveInfoIsUnreadableInput) {
    const Outcome outcome = RunTool("search " + Quote(dir_.Path()) + " --url x");
    EXPECT_EQ(outcome.Status, 3);
    EXPECT_EQ(outcome.Err,
              "arkivo: Couldn't find an archive info file\n(archive.dat) in this directory.\n");
}

// root reads a file whatever its mode, so then the tool runs as nobody.
TEST_F(CliSearchTest, AnArchiveInfoThatCannotBeOpenedIsUnreadableInput) {
    const std::string archive = Sample();
    ASSERT_EQ(::chmod((archive + "archive.dat").c_str(), 0), 0);
    std::string asUser;
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(dir_.Path().c_str(), 0755), 0);
        asUser = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    }
    const CommandResult run =
        RunCommand(asUser + Tool + " search " + Quote(archive) + " --url x 2>&1 </dev/null");
    EXPECT_EQ(run.Status, 3) << run.Output;
    EXPECT_EQ(run.Output, "arkivo: cannot read " + archive + "archive.dat\n");
}

TEST_F(CliSearchTest, UsageErrors) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"search /a", "search needs a text to find (--url or --text)"},
        {"search /a /b --url x", "unexpected argument '/b'"},
        {"search /a --url x --url y", "'--url' was given twice"},
        {"search /a --text", "'--text' needs a value"},
        {"search /a --url=", "'--url' was given an empty value"},
        {"search --nav /a --url x", "'--nav' is not an option of the search command"},
        {"search /a --url x --yes", "'--yes' is not an option of the search command"},
    };
    for (const auto& [arguments, message] : cases) {
        const Outcome outcome = RunTool(arguments);
        EXPECT_EQ(outcome.Status, 2) << arguments;
        EXPECT_EQ(outcome.Err, "arkivo: " + message + "\nTry 'arkivo --help'.\n") << arguments;
    }
}

TEST_F(CliSearchTest, HelpNamesTheOptions) {
    const Outcome outcome = RunTool("search --help");
    EXPECT_EQ(outcome.Status, 0);
    EXPECT_TRUE(
        outcome.Out.starts_with("Usage: arkivo search [DIR] [--url TEXT] [--text TEXT] [--json]\n"))
        << outcome.Out;
    const Outcome overview = RunTool("--help");
    EXPECT_NE(overview.Out.find("  search    find archived items"), std::string::npos);
}

TEST_F(CliSearchTest, FindsPagesThatArkivoArchiveWrote) {
    const std::string cache = WriteTextCache(
        dir_ / "cache/",
        {{"http://www.example.com/a.htm", "text/html", 1, "<html><body>Unusual Word</body></html>"},
         {"http://www.example.com/b.htm", "text/html", 1, "<html><body>plain</body></html>"}});
    const Outcome archived =
        RunTool("archive --nav " + Quote(cache) + " --to " + Quote(dir_ / "out"));
    ASSERT_EQ(archived.Status, 0) << archived.Err;
    const Outcome outcome = RunTool("search " + Quote(dir_ / "out") + " --text 'unusual word'");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_NE(outcome.Out.find("http://www.example.com/a.htm"), std::string::npos) << outcome.Out;
    EXPECT_EQ(outcome.Out.find("b.htm"), std::string::npos) << outcome.Out;
}

}  // namespace
}  // namespace arkivo
