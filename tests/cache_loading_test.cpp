#include "explorer/cache_loading.h"

#include <gtest/gtest.h>

#include "ie_test_helpers.h"
#include "platform/dialogs.h"
#include "readers/netscape_index.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

const std::string Samples = testing::TestDataDir() + "../../samples/";

class CacheLoadingTest : public ::testing::Test {
  protected:
    ScriptedDialogs dialogs_;
    ScopedDialogs installed_{dialogs_};
    testing::TempDir dir_;
    TCacheItemList items_;
};

TEST_F(CacheLoadingTest, NavReadsTheIndex) {
    const CacheLoad load = LoadCache(Edition::Nav, Samples + "netscape/FAT.DB", items_, {});
    EXPECT_EQ(load.Outcome, CacheLoadOutcome::Read);
    EXPECT_EQ(items_.size(), 20u);
    EXPECT_TRUE(dialogs_.Shown().empty());
}

TEST_F(CacheLoadingTest, NavIndexThatCannotBeOpenedWarnsAndSaysSo) {
    const CacheLoad load = LoadCache(Edition::Nav, dir_ / "FAT.DB", items_, {});
    EXPECT_EQ(load.Outcome, CacheLoadOutcome::CannotOpen);
    ASSERT_EQ(dialogs_.Shown().size(), 1u);
    EXPECT_EQ(dialogs_.Shown()[0].Text, CloseNetscapeWarning);
    EXPECT_TRUE(items_.empty());
}

TEST_F(CacheLoadingTest, IeReadsTheCacheNamedByTheEnvironment) {
    const testing::ScopedEnv cache("ARKIVO_IE_CACHE", Samples + "ie");
    EXPECT_EQ(LoadCache(Edition::IE, "", items_, {}).Outcome, CacheLoadOutcome::Read);
    EXPECT_EQ(items_.size(), 20u);
}

TEST_F(CacheLoadingTest, NavFileThatIsNoIndexSaysSoAndOffersTheSetting) {
    testing::WriteFile(dir_ / "notes.txt", "<html>");
    const CacheLoad load = LoadCache(Edition::Nav, dir_ / "notes.txt", items_, {});
    EXPECT_EQ(load.Outcome, CacheLoadOutcome::NoCache);
    EXPECT_EQ(load.Error, dir_ / "notes.txt" + " is not a Netscape cache index (FAT or FAT.DB).");
}

TEST_F(CacheLoadingTest, IeReadsTheChosenCacheUnlessTheEnvironmentNamesOne) {
    const testing::ScopedEnv prefix("WINEPREFIX", dir_ / "wine");
    {
        const testing::ScopedEnv cache("ARKIVO_IE_CACHE", "");
        EXPECT_EQ(LoadCache(Edition::IE, Samples + "ie", items_, {}).Outcome,
                  CacheLoadOutcome::Read);
        EXPECT_EQ(items_.size(), 20u);
        const CacheLoad none = LoadCache(Edition::IE, "", items_, {});
        EXPECT_EQ(none.Outcome, CacheLoadOutcome::NoCache);
        EXPECT_EQ(none.Error.rfind("No Internet Explorer cache found: ", 0), 0u) << none.Error;
    }
    const testing::ScopedEnv cache("ARKIVO_IE_CACHE", dir_ / "absent");
    const CacheLoad named = LoadCache(Edition::IE, Samples + "ie", items_, {});
    EXPECT_EQ(named.Outcome, CacheLoadOutcome::NoCache);
    EXPECT_EQ(named.Error, "No cache index found at " + dir_ / "absent");
}

// A history index is a cache index whose records give no items.
TEST_F(CacheLoadingTest, IeCacheWithoutItemsSaysNoItems) {
    ARKIVO_REQUIRE_SHARED_DATA();
    testing::WriteFile(dir_ / "index.dat",
                       testing::ReadFile(testing::RealIndex("grr-History-index.dat")));
    const testing::ScopedEnv cache("ARKIVO_IE_CACHE", dir_.Path());
    EXPECT_EQ(LoadCache(Edition::IE, "", items_, {}).Outcome, CacheLoadOutcome::NoItems);
    EXPECT_TRUE(items_.empty());
}

}  // namespace
}  // namespace arkivo
