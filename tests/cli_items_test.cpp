// The arkivo tool run as a program: its command line, exit statuses and the
// output of the items command.

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "cli_tool.h"
#include "netscape_test_records.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;

class CliItemsTest : public CliTest {
  protected:
    // The five-entry FAT.DB fixture with the cached files of entries 0 to 2.
    std::string FiveEntryCache() {
        WriteFile(dir_ / "cache/FAT.DB",
                  ReadFile(TestDataDir() + "/netscape/fat4k_five_entries.db"));
        for (const char* name : {"M0000000.HTM", "M0000001.GIF", "M0000002.JPG"}) {
            WriteFile(dir_ / ("cache/" + std::string(name)), "x");
        }
        return dir_ / "cache/FAT.DB";
    }
};

TEST_F(CliItemsTest, HelpAndVersion) {
    const Outcome help = RunTool("items --help");
    EXPECT_EQ(help.Status, 0);
    EXPECT_TRUE(help.Out.starts_with("Usage: arkivo items SOURCE [--json]\n")) << help.Out;
    const Outcome version = RunTool("--version");
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, "arkivo " ARKIVO_VERSION "\n");
}

TEST_F(CliItemsTest, UsageErrorsExitWithStatus2) {
    for (const char* arguments :
         {"", "items", "items --json", "items --nav a --ie b", "items --nav a --bogus",
          "items --nav a b", "bogus --nav a", "--help --version", "items --nav ''"}) {
        const Outcome outcome = RunTool(arguments);
        EXPECT_EQ(outcome.Status, 2) << arguments;
        EXPECT_TRUE(outcome.Out.empty()) << arguments;
        EXPECT_NE(outcome.Err.find("Try 'arkivo --help'."), std::string::npos) << arguments;
    }
}

TEST_F(CliItemsTest, AnIndexThatCannotBeReadExitsWithStatus3) {
    for (const std::string& index : {dir_ / "missing/FAT.DB", dir_.Path()}) {
        const Outcome outcome = RunTool("items --nav '" + index + "'");
        EXPECT_EQ(outcome.Status, 3) << index;
        EXPECT_NE(outcome.Err.find("Please close down Netscape\nbefore continuing."),
                  std::string::npos);
    }
    // No index named, none stored and no Wine prefix to find one through.
    EXPECT_EQ(RunTool("items --nav").Status, 3);
    WriteFile(dir_ / "notes.txt", "<html>");
    const Outcome notes = RunTool("items --nav " + Quote(dir_ / "notes.txt"));
    EXPECT_EQ(notes.Status, 3);
    EXPECT_NE(notes.Err.find("is not a Netscape cache index"), std::string::npos) << notes.Err;
}

// A FIFO where the index or the settings file belongs is refused, never waited on.
TEST_F(CliItemsTest, AFifoInPlaceOfAFileNeverBlocks) {
    ASSERT_EQ(::mkfifo((dir_ / "FAT.DB").c_str(), 0600), 0);
    const CommandResult index =
        RunCommand("timeout 20 " + Tool + " items --nav " + Quote(dir_ / "FAT.DB") + " 2>&1");
    EXPECT_EQ(index.Status, 3) << index.Output;

    const std::string cache = FiveEntryCache();
    std::filesystem::create_directories(dir_ / "config/Quenlow");
    ASSERT_EQ(::mkfifo(SettingsFile().c_str(), 0600), 0);
    const CommandResult items =
        RunCommand("timeout 20 " + Tool + " items --nav " + Quote(cache) + " 2>&1");
    EXPECT_EQ(items.Status, 0) << items.Output;
}

TEST_F(CliItemsTest, PrintsTheItemsAsJsonLinesInReaderOrder) {
    const std::string index = FiveEntryCache();
    const Outcome outcome = RunTool("items --nav '" + index + "' --json");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    // The entries date from 1996, more than 5000 days ago, so they show as that
    // many days before now; only the date's shape is checked.
    std::string out = outcome.Out;
    for (std::size_t at = out.find("\"date\": \""); at != std::string::npos;
         at = out.find("\"date\": \"", at + 1)) {
        EXPECT_EQ(out[at + 9 + 10], 'T');
        out.replace(at + 9, 19, "DATE");
    }
    const std::string dir = dir_ / "cache/";
    EXPECT_EQ(out,
              "{\"url\": \"http://www.site2.example:80/page/2.jpg\", \"domain\": "
              "\"www.site2.example\", \"kind\": 3, \"type\": \"image/jpeg\", \"group\": 1, "
              "\"date\": \"DATE\", \"file\": \"" +
                  dir +
                  "M0000002.JPG\"}\n"
                  "{\"url\": \"http://www.site0.example:80/page/0.htm\", \"domain\": "
                  "\"www.site0.example\", \"kind\": 1, \"type\": \"text/html\", \"group\": 0, "
                  "\"date\": \"DATE\", \"file\": \"" +
                  dir +
                  "M0000000.HTM\"}\n"
                  "{\"url\": \"http://www.site1.example:80/page/1.gif\", \"domain\": "
                  "\"www.site1.example\", \"kind\": 2, \"type\": \"image/gif\", \"group\": 1, "
                  "\"date\": \"DATE\", \"file\": \"" +
                  dir + "M0000001.GIF\"}\n");
}

// Quotes and control characters are escaped; a URL that is no valid UTF-8 is read
// as Windows-1252, one that is stays as it is.
TEST_F(CliItemsTest, JsonEscapesAndConvertsUrls) {
    TestRecord odd;
    odd.Url = "http://odd.example/a\"b\x01\tc\xe9\x80";
    odd.FileName = "M0001.HTM";
    TestRecord utf8;
    utf8.Url = "http://odd.example/caf\xc3\xa9";
    utf8.FileName = "M0002.HTM";
    TestRecord surrogate;  // UTF-8 in form only: a strict decoder refuses it
    surrogate.Url = "http://odd.example/s\xed\xa0\x80";
    surrogate.FileName = "M0003.HTM";
    for (const char* file : {"M0001.HTM", "M0002.HTM", "M0003.HTM"}) {
        WriteFile(dir_ / ("cache/" + std::string(file)), "x");
    }
    WriteFile(dir_ / "cache/FAT.DB", HashHeaderPage(4096) +
                                         DataPage(4096, {{KeyOf(odd), DataOf(odd)},
                                                         {KeyOf(utf8), DataOf(utf8)},
                                                         {KeyOf(surrogate), DataOf(surrogate)}}) +
                                         DataPage(4096, {}));
    const Outcome outcome = RunTool("items --nav " + Quote(dir_ / "cache/FAT.DB") + " --json");
    ASSERT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_NE(outcome.Out.find(
                  "{\"url\": \"http://odd.example:80/a\\\"b\\u0001\\tc\xc3\xa9\xe2\x82\xac\", "
                  "\"domain\": \"odd.example\""),
              std::string::npos)
        << outcome.Out;
    EXPECT_NE(outcome.Out.find("{\"url\": \"http://odd.example:80/caf\xc3\xa9\", "),
              std::string::npos)
        << outcome.Out;
    EXPECT_NE(
        outcome.Out.find("{\"url\": \"http://odd.example:80/s\xc3\xad\xc2\xa0\xe2\x82\xac\", "),
        std::string::npos)
        << outcome.Out;
}

TEST_F(CliItemsTest, PrintsAlignedColumnsWithoutJson) {
    const std::string index = FiveEntryCache();
    const Outcome outcome = RunTool("items --nav '" + index + "'");
    ASSERT_EQ(outcome.Status, 0) << outcome.Err;
    std::istringstream lines(outcome.Out);
    std::string heading, first;
    std::getline(lines, heading);
    std::getline(lines, first);
    EXPECT_TRUE(heading.starts_with("DATE                 TYPE        URL"));
    EXPECT_EQ(first.find("image/jpeg"), heading.find("TYPE"));
    EXPECT_EQ(first.find("http://"), heading.find("URL"));
}

// ESC and BEL cannot retitle the terminal, nor a line feed or a tab break the columns.
TEST_F(CliItemsTest, PlainOutputShowsControlBytesAsHex) {
    TestRecord hostile;
    hostile.Url = "http://evil.example/\x1b]0;owned\x07\n\t\x7f.htm";
    hostile.FileName = "M0001.HTM";
    WriteFile(dir_ / "cache/M0001.HTM", "x");
    WriteFile(dir_ / "cache/FAT.DB", HashHeaderPage(4096) +
                                         DataPage(4096, {{KeyOf(hostile), DataOf(hostile)}}) +
                                         DataPage(4096, {}));
    const Outcome outcome = RunTool("items --nav " + Quote(dir_ / "cache/FAT.DB"));
    ASSERT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_NE(outcome.Out.find("  http://evil.example:80/\\x1B]0;owned\\x07\\x0A\\x09\\x7F.htm  " +
                               (dir_ / "cache/M0001.HTM") + "\n"),
              std::string::npos)
        << outcome.Out;
    EXPECT_EQ(std::count(outcome.Out.begin(), outcome.Out.end(), '\n'), 2) << outcome.Out;
}

TEST_F(CliItemsTest, WithoutAnIndexUsesTheStoredFatPath) {
    const std::string index = FiveEntryCache();
    WriteFile(dir_ / "config/Quenlow/Arkivo.reg",
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Quenlow\\Arkivo\\Browser options]\r\n"
              "\"FAT Path\"=\"" +
                  index + "\"\r\n");
    const Outcome outcome = RunTool("items --nav --json");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_NE(outcome.Out.find("http://www.site1.example:80/page/1.gif"), std::string::npos);
}

TEST_F(CliItemsTest, ACacheWithoutUsableItemsExitsWithStatus1) {
    WriteFile(dir_ / "FAT", "MCOM-Cache-file-allocation-table-format-1\r\n");
    const Outcome outcome = RunTool("items --nav '" + (dir_ / "FAT") + "'");
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_TRUE(outcome.Out.empty());
}

}  // namespace
}  // namespace arkivo
