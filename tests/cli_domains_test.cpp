// arkivo domains run as a program: the domains in the explorer's order with their
// counts, the filters, JSON lines and exit statuses.

#include "cli_tool.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;

class CliDomainsTest : public CliTest {
  protected:
    // Domains first met out of alphabetical order; items 1 and 30 hours old.
    std::string Cache() {
        return WriteTextCache(dir_ / "cache/",
                              {
                                  {"http://zeta.example/a.htm", "text/html", 1},
                                  {"http://Beta.example/b.gif", "image/gif", 30},
                                  {"http://zeta.example/c.zip", "application/zip", 30},
                                  {"http://alpha.example/d.txt", "text/plain", 1},
                                  {"http://beta.example/e.htm", "text/html", 1},
                                  {"http://zeta.example/f.jpg", "image/jpeg", 1},
                              });
    }

    Outcome Domains(const std::string& options) {
        return RunTool("domains --nav " + Quote(Cache()) + " " + options);
    }
};

TEST_F(CliDomainsTest, ListsTheDomainsAlphabeticallyWithTheirCounts) {
    const Outcome outcome = Domains("");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out,
              "DOMAIN         TEXT  MEDIA  OTHER\n"
              "alpha.example     1      0      0\n"
              "beta.example      1      1      0\n"
              "zeta.example      1      1      1\n");
    EXPECT_TRUE(outcome.Err.empty()) << outcome.Err;
}

TEST_F(CliDomainsTest, JsonGivesOneObjectPerDomain) {
    const Outcome outcome = Domains("--json");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out,
              "{\"domain\": \"alpha.example\", \"text\": 1, \"media\": 0, \"other\": 0}\n"
              "{\"domain\": \"beta.example\", \"text\": 1, \"media\": 1, \"other\": 0}\n"
              "{\"domain\": \"zeta.example\", \"text\": 1, \"media\": 1, \"other\": 1}\n");
}

TEST_F(CliDomainsTest, AgeFiltersSplitTheItemsAtTheGivenAge) {
    const Outcome newer = Domains("--newer 2h --json");
    EXPECT_EQ(newer.Status, 0) << newer.Err;
    EXPECT_EQ(newer.Out,
              "{\"domain\": \"alpha.example\", \"text\": 1, \"media\": 0, \"other\": 0}\n"
              "{\"domain\": \"beta.example\", \"text\": 1, \"media\": 0, \"other\": 0}\n"
              "{\"domain\": \"zeta.example\", \"text\": 1, \"media\": 1, \"other\": 0}\n");
    const Outcome older = Domains("--older 1d --json");
    EXPECT_EQ(older.Status, 0) << older.Err;
    EXPECT_EQ(older.Out,
              "{\"domain\": \"beta.example\", \"text\": 0, \"media\": 1, \"other\": 0}\n"
              "{\"domain\": \"zeta.example\", \"text\": 0, \"media\": 0, \"other\": 1}\n");
    // Nothing is older than a week.
    const Outcome none = Domains("--older 1w");
    EXPECT_EQ(none.Status, 1);
    EXPECT_TRUE(none.Out.empty());
    EXPECT_NE(none.Err.find("arkivo: nothing chosen"), std::string::npos);
}

TEST_F(CliDomainsTest, TypesCountOnlyTheChosenGroups) {
    const Outcome outcome = Domains("--types other,media --json");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out,
              "{\"domain\": \"beta.example\", \"text\": 0, \"media\": 1, \"other\": 0}\n"
              "{\"domain\": \"zeta.example\", \"text\": 0, \"media\": 1, \"other\": 1}\n");
}

TEST_F(CliDomainsTest, DomainTakesWholeNamesInAnyLetterCase) {
    const Outcome outcome =
        Domains("--domain ZETA.example --domain Alpha.Example --domain eta.example --json");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out,
              "{\"domain\": \"alpha.example\", \"text\": 1, \"media\": 0, \"other\": 0}\n"
              "{\"domain\": \"zeta.example\", \"text\": 1, \"media\": 1, \"other\": 1}\n");
    // A part of a name is no name: it is reported and chooses nothing.
    EXPECT_NE(outcome.Err.find("arkivo: no items of the domain 'eta.example'"), std::string::npos)
        << outcome.Err;

    const Outcome unknown = Domains("--domain example");
    EXPECT_EQ(unknown.Status, 1);
    EXPECT_TRUE(unknown.Out.empty());
}

TEST_F(CliDomainsTest, ADomainOutsideTheAgeWindowIsNotChosen) {
    const Outcome outcome = Domains("--domain alpha.example --older 2h");
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_NE(outcome.Err.find("no items of the domain 'alpha.example' in the age window"),
              std::string::npos)
        << outcome.Err;
}

TEST_F(CliDomainsTest, InternetExplorerCache) {
    const Outcome outcome =
        RunTool("domains --ie " + Quote(TestDataDir() + "/ie/typical/") + " --json");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out,
              "{\"domain\": \"secure.example.org\", \"text\": 1, \"media\": 0, \"other\": 0}\n"
              "{\"domain\": \"static.example.net\", \"text\": 0, \"media\": 1, \"other\": 0}\n"
              "{\"domain\": \"www.example.com\", \"text\": 5, \"media\": 1, \"other\": 0}\n");
}

TEST_F(CliDomainsTest, ExitStatusesOfUnreadableAndEmptyCaches) {
    EXPECT_EQ(RunTool("domains --nav " + Quote(dir_ / "missing/FAT")).Status, 3);
    WriteFile(dir_ / "empty/FAT", "MOSAIC-COMMUNICATIONS-CACHE\n");
    const Outcome empty = RunTool("domains --nav " + Quote(dir_ / "empty/FAT"));
    EXPECT_EQ(empty.Status, 1);
    EXPECT_NE(empty.Err.find("arkivo: the cache holds no items"), std::string::npos);
}

}  // namespace
}  // namespace arkivo
