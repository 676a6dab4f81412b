// tools/ie_fixture_writer --many, the benchmark cache: at the largest size the
// format allows, read back by our reader and by msiecfexport. Skipped when the tool
// was not built.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ie_test_helpers.h"
#include "platform/file_system.h"
#include "readers/ie_index_file.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;
using namespace arkivo::ie_index;

const std::string Writer = std::string(ARKIVO_BINARY_DIR) + "/tools/ie_fixture_writer";

// Runs the writer with the arguments, standard error joined to its output.
CommandResult RunWriter(const std::string& arguments) {
    return RunCommand(Writer + " " + arguments + " 2>&1");
}

TEST(IeFixtureWriterMany, FillsTheLargestIndexItsBitmapAllows) {
    if (!FileExists(Writer)) {
        GTEST_SKIP() << Writer << " was not built";
    }
    TempDir dir;
    const CommandResult full = RunWriter("--many max '" + dir.Path() + "'");
    ASSERT_EQ(full.Status, 0) << full.Output;
    // The tool prints the cache it wrote, named for its number of entries.
    const std::string cache = full.Output.substr(0, full.Output.find('\n'));
    const std::size_t entries = std::stoul(cache.substr(cache.rfind('-') + 1));
    EXPECT_GT(entries, 40000u);

    const std::string bytes = ReadFile(cache + "/index.dat");
    EXPECT_EQ(bytes.size(), BlocksOffset + std::size_t{MaxBlocks} * BlockSize);
    IeIndex index;
    ASSERT_TRUE(ParseIndexFile(bytes, index).ok());
    ASSERT_TRUE(index.IsSound()) << index.Damage.front();
    EXPECT_EQ(index.Urls.size(), entries);
    EXPECT_EQ(index.TotalBlocks, MaxBlocks);
    EXPECT_EQ(BitmapCount(bytes), index.AllocatedBlocks);
    // Full: what is left would not take the next entry and a hash table.
    EXPECT_GT(index.AllocatedBlocks, MaxBlocks - HashBlocks - 5);

    if (HaveMsiecfexport()) {
        const auto exported = MsiecfExport(cache + "/index.dat");
        ASSERT_TRUE(exported);
        EXPECT_EQ(OfType(*exported, "URL"), AsExported(index));
    }

    // One entry more does not fit: refused, and nothing is written.
    const CommandResult over =
        RunWriter("--many " + std::to_string(entries + 1) + " '" + dir.Path() + "/over'");
    EXPECT_EQ(over.Status, 2);
    EXPECT_EQ(over.Output, "ie_fixture_writer: only " + std::to_string(entries) +
                               " entries fit in an index.dat\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "over"));
}

// Options are never taken for the output directory.
TEST(IeFixtureWriterOptions, HelpPrintsUsageAndUnknownOptionsAreRefused) {
    if (!FileExists(Writer)) {
        GTEST_SKIP() << Writer << " was not built";
    }
    TempDir dir;
    const CommandResult help = RunCommand("cd '" + dir.Path() + "' && " + Writer + " --help");
    EXPECT_EQ(help.Status, 0);
    EXPECT_TRUE(help.Output.starts_with("usage: ie_fixture_writer")) << help.Output;
    const CommandResult bogus =
        RunCommand("cd '" + dir.Path() + "' && " + Writer + " --bogus 2>&1");
    EXPECT_EQ(bogus.Status, 2);
    EXPECT_TRUE(bogus.Output.starts_with("ie_fixture_writer: unknown option '--bogus'"))
        << bogus.Output;
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

}  // namespace
}  // namespace arkivo
