#include "explorer/domain_grouping.h"

#include <gtest/gtest.h>

namespace arkivo {
namespace {

constexpr double Now = 45000.5;
constexpr double Hour = 1.0 / 24;

class DomainGroupingTest : public ::testing::Test {
  protected:
    void Add(const std::string& domain, int group, double date) {
        auto item = std::make_unique<TCacheItem>();
        item->Domain = domain;
        item->Group = group;
        item->Date = date;
        items.push_back(std::move(item));
    }

    TCacheItemList items;
    DomainGrouping grouping;
};

TEST_F(DomainGroupingTest, SummariesKeepFirstSeenOrderWhileListsAreAlphabetical) {
    Add("zeta.org", 0, Now);
    Add("Alpha.com", 1, Now);
    Add("zeta.org", 2, Now);
    Add("beta.net", 1, Now);
    Add("zeta.org", 0, Now);
    grouping.BuildDomainList(items, OpenAgeWindow(Now));

    ASSERT_EQ(grouping.DomainList().size(), 3u);
    EXPECT_EQ(grouping.DomainList()[0].Name, "zeta.org");
    EXPECT_EQ(grouping.DomainList()[0].TextCount, 2u);
    EXPECT_EQ(grouping.DomainList()[0].OtherCount, 1u);
    EXPECT_EQ(grouping.DomainList()[1].Name, "Alpha.com");
    EXPECT_EQ(grouping.DstList().Names(),
              (std::vector<std::string>{"Alpha.com", "beta.net", "zeta.org"}));
    EXPECT_EQ(grouping.SrcList().Count(), 0u);
}

TEST_F(DomainGroupingTest, WindowBoundsAreStrict) {
    const AgeWindow window = AgeWindowFor(AgeChoice::NewerThan, 1, AgeUnit::Days, Now);
    Add("lower.edge", 0, window.LowerDate);
    Add("inside", 0, window.LowerDate + Hour);
    Add("upper.edge", 0, window.UpperDate);
    grouping.BuildDomainList(items, window);
    EXPECT_EQ(grouping.DstList().Names(), (std::vector<std::string>{"inside"}));
    EXPECT_FALSE(grouping.IsChosen(*items[0], TypeSwitches{}));
    EXPECT_TRUE(grouping.IsChosen(*items[1], TypeSwitches{}));
    EXPECT_FALSE(grouping.IsChosen(*items[2], TypeSwitches{}));
}

TEST_F(DomainGroupingTest, OlderAndNewerThanSixHours) {
    Add("five", 0, Now - 5 * Hour);
    Add("seven", 0, Now - 7 * Hour);
    grouping.BuildDomainList(items, AgeWindowFor(AgeChoice::OlderThan, 6, AgeUnit::Hours, Now));
    EXPECT_EQ(grouping.DstList().Names(), (std::vector<std::string>{"seven"}));
    grouping.BuildDomainList(items, AgeWindowFor(AgeChoice::NewerThan, 6, AgeUnit::Hours, Now));
    EXPECT_EQ(grouping.DstList().Names(), (std::vector<std::string>{"five"}));
    grouping.BuildDomainList(items, AgeWindowFor(AgeChoice::AllAges, 6, AgeUnit::Hours, Now));
    EXPECT_EQ(grouping.DstList().Count(), 2u);
}

TEST_F(DomainGroupingTest, MovesChangeCountsButNotSummaries) {
    Add("a.com", 0, Now);
    Add("a.com", 1, Now);
    Add("b.com", 2, Now);
    grouping.BuildDomainList(items, OpenAgeWindow(Now));
    EXPECT_EQ(grouping.CountSelection().Text, 1u);
    EXPECT_EQ(grouping.CountSelection().Other, 1u);

    grouping.MoveToSrc({"A.COM"});
    EXPECT_EQ(grouping.SrcList().Names(), (std::vector<std::string>{"a.com"}));
    EXPECT_EQ(grouping.CountSelection().Text, 0u);
    EXPECT_EQ(grouping.CountSelection().Media, 0u);
    EXPECT_FALSE(grouping.IsChosen(*items[0], TypeSwitches{}));
    EXPECT_EQ(grouping.DomainList().size(), 2u);

    grouping.MoveToDst({"a.com"});
    EXPECT_EQ(grouping.CountSelection().Media, 1u);

    // A rebuild puts every domain back into the chosen list.
    grouping.MoveToSrc({"a.com", "b.com"});
    grouping.BuildDomainList(items, OpenAgeWindow(Now));
    EXPECT_EQ(grouping.DstList().Count(), 2u);
    EXPECT_EQ(grouping.SrcList().Count(), 0u);
}

TEST_F(DomainGroupingTest, TypeSwitchesDecideWhatIsChosenNotWhatIsCounted) {
    Add("a.com", 0, Now);
    Add("a.com", 1, Now);
    grouping.BuildDomainList(items, OpenAgeWindow(Now));
    const TypeSwitches noMedia{true, false, true};
    EXPECT_TRUE(grouping.IsChosen(*items[0], noMedia));
    EXPECT_FALSE(grouping.IsChosen(*items[1], noMedia));
    EXPECT_EQ(grouping.CountSelection().Media, 1u);
    EXPECT_EQ(grouping.ChosenCount(noMedia), 1u);
    EXPECT_EQ(grouping.ChosenCount(TypeSwitches{false, false, false}), 0u);
}

TEST_F(DomainGroupingTest, CountsGoPastSixteenBits) {
    for (int i = 0; i < 70000; ++i) {
        Add("big.com", 1, Now);
    }
    grouping.BuildDomainList(items, OpenAgeWindow(Now));
    EXPECT_EQ(grouping.CountSelection().Media, 70000u);
}

TEST(AgeAmounts, DifferPerEditionForHours) {
    EXPECT_EQ(AgeAmounts(Edition::Nav, AgeUnit::Hours),
              (std::vector<std::string>{"6", "12", "18"}));
    EXPECT_EQ(AgeAmounts(Edition::IE, AgeUnit::Hours),
              (std::vector<std::string>{"1", "2", "3", "6", "12", "18"}));
    EXPECT_EQ(AgeAmounts(Edition::Nav, AgeUnit::Weeks).back(), "6");
    const AgeWindow weeks = AgeWindowFor(AgeChoice::OlderThan, 2, AgeUnit::Weeks, Now);
    EXPECT_EQ(weeks.UpperDate, Now - 14);
    EXPECT_EQ(weeks.LowerDate, 0.0);
}

TEST(DomainNames, SortIgnoresCaseAndLookupIsWhole) {
    DomainNameList list;
    list.Assign({"b.com", "A.com", "a.com", "c"});
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"A.com", "b.com", "c"}));
    EXPECT_TRUE(list.Contains("B.COM"));
    EXPECT_FALSE(list.Contains("b.co"));
    list.Remove({"C"});
    EXPECT_EQ(list.Count(), 2u);
}

}  // namespace
}  // namespace arkivo
