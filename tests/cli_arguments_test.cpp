// The arkivo tool's command line: each command's help, the options each command
// takes, and the usage errors that stop it before any cache is read.

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "cli_tool.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;

using CliArgumentsTest = CliTest;

TEST_F(CliArgumentsTest, EachCommandHasItsOwnHelp) {
    const struct {
        const char* command;
        const char* usage;
        const char* option;  // one the command's help has to explain
    } commands[] = {
        {"items", "Usage: arkivo items SOURCE [--json]\n", "--json"},
        {"domains", "Usage: arkivo domains SOURCE [FILTERS] [--json]\n", "--types LIST"},
        {"archive", "Usage: arkivo archive SOURCE [FILTERS] [ARCHIVE OPTIONS]\n", "--no-strikeout"},
        {"delete", "Usage: arkivo delete SOURCE [FILTERS] [--yes]\n", "--yes"},
    };
    for (const auto& c : commands) {
        // --help wins wherever it stands, even beside options the command lacks.
        for (const std::string& tail :
             {std::string(" --help"), std::string(" --nav x --help --bogus")}) {
            const Outcome help = RunTool(c.command + tail);
            EXPECT_EQ(help.Status, 0) << c.command << tail;
            EXPECT_TRUE(help.Out.starts_with(c.usage)) << help.Out;
            EXPECT_NE(help.Out.find(c.option), std::string::npos) << c.command;
            EXPECT_TRUE(help.Err.empty()) << help.Err;
        }
    }
    const Outcome overview = RunTool("--help");
    EXPECT_EQ(overview.Status, 0);
    for (const char* line :
         {"arkivo items   SOURCE [--json]", "arkivo domains SOURCE [FILTERS] [--json]",
          "arkivo archive SOURCE [FILTERS] [ARCHIVE OPTIONS]",
          "arkivo delete  SOURCE [FILTERS] [--yes]"}) {
        EXPECT_NE(overview.Out.find(line), std::string::npos) << line;
    }
}

TEST_F(CliArgumentsTest, UsageErrorsNameTheProblemAndExitWithStatus2) {
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"domains", "domains needs a source (--nav or --ie)"},
        {"archive --nav a --ie b", "give exactly one source (--nav or --ie)"},
        {"domains --nav a --newer 3", "'--newer' takes AGE as a whole number"},
        {"domains --nav a --older 3m", "'--older' takes AGE"},
        {"domains --nav a --older -3d", "'--older' takes AGE"},
        {"domains --nav a --older", "'--older' needs a value"},
        {"domains --nav a --newer 1h --older 2h", "give one age filter (--newer or --older)"},
        {"delete --nav a --types text,pictures", "'--types' takes a comma-separated list"},
        {"delete --nav a --types text,", "'--types' takes a comma-separated list"},
        {"delete --nav a --types text --types media", "'--types' was given twice"},
        {"archive --nav a --domain", "'--domain' needs a value"},
        {"archive --nav a --domain=", "'--domain' was given an empty value"},
        {"archive --nav a --to x --to y", "'--to' was given twice"},
        {"archive --nav a --emphasize=huge", "'--emphasize' takes bold, italic, larger or custom"},
        {"archive --nav a --emphasize bold", "unexpected argument 'bold'"},
        {"archive --nav a --strikeout=1", "'--strikeout' takes no value"},
        {"archive --nav a --json", "'--json' is not an option of the archive command"},
        {"archive --nav a --yes", "'--yes' is not an option of the archive command"},
        {"delete --nav a --to x", "'--to' is not an option of the delete command"},
        {"domains --nav a --original-urls", "'--original-urls' is not an option of the domains"},
        {"items --nav a --domain x", "'--domain' is not an option of the items command"},
        {"items --nav a --frobnicate", "unknown option '--frobnicate'"},
        {"--help --version", "'--help' takes no other arguments"},
        {"find", "unknown command 'find'"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunTool(c.arguments);
        EXPECT_EQ(outcome.Status, 2) << c.arguments;
        EXPECT_TRUE(outcome.Out.empty()) << c.arguments;
        EXPECT_NE(outcome.Err.find(std::string("arkivo: ") + c.message), std::string::npos)
            << c.arguments << ": " << outcome.Err;
        EXPECT_NE(outcome.Err.find("Try 'arkivo --help'."), std::string::npos) << c.arguments;
    }
}

TEST_F(CliArgumentsTest, ValuesMayFollowAnEqualsSign) {
    const std::string index =
        WriteTextCache(dir_ / "cache/", {{"http://a.example/x.htm", "text/html", 1}});
    const Outcome spaced =
        RunTool("domains --nav " + Quote(index) + " --domain a.example --newer 2h");
    const Outcome joined =
        RunTool("domains --nav=" + Quote(index) + " --domain=a.example --newer=2h");
    EXPECT_EQ(spaced.Status, 0) << spaced.Err;
    EXPECT_EQ(joined.Status, 0) << joined.Err;
    EXPECT_EQ(spaced.Out, joined.Out);
    EXPECT_NE(joined.Out.find("a.example"), std::string::npos);
}

// Every option a command's help explains is in the manual page too.
TEST_F(CliArgumentsTest, TheManualPageDescribesEveryOption) {
    std::ifstream file(TestDataDir() + "/../../docs/arkivo.1");
    ASSERT_TRUE(file) << "docs/arkivo.1 is missing";
    std::stringstream page;
    page << file.rdbuf();
    // In roff a minus sign in an option is written "\-".
    const std::string manual = std::regex_replace(page.str(), std::regex(R"(\\-)"), "-");
    std::set<std::string> options;
    for (const char* command : {"items", "domains", "archive", "delete"}) {
        const std::string help = RunTool(std::string(command) + " --help").Out;
        const std::regex option("--[a-z][a-z-]*");
        for (auto it = std::sregex_iterator(help.begin(), help.end(), option);
             it != std::sregex_iterator(); ++it) {
            options.insert(it->str());
        }
    }
    EXPECT_EQ(options.size(), 17u);  // a check that the help texts were read
    for (const std::string& option : options) {
        EXPECT_NE(manual.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace arkivo
