#include "explorer/cache_deletion.h"

#include <gtest/gtest.h>

#include "ie_test_helpers.h"
#include "model/content_types.h"
#include "model/file_utils.h"
#include "platform/file_system.h"
#include "readers/ie_cache_reader.h"

namespace arkivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

constexpr double Now = 45000.0;

class NavDeletion : public ::testing::Test {
  protected:
    TCacheItem& Add(const std::string& domain, int group, double date = Now) {
        auto item = std::make_unique<TCacheItem>();
        item->Domain = domain;
        item->Group = group;
        item->Date = date;
        item->CacheFile = cache / ("M" + std::to_string(items.size()));
        WriteFile(item->CacheFile, "x");
        items.push_back(std::move(item));
        return *items.back();
    }

    TempDir cache;
    TCacheItemList items;
    DomainGrouping grouping;
};

TEST_F(NavDeletion, OnlyChosenItemsAreDeleted) {
    TCacheItem& page = Add("a.com", 0);
    TCacheItem& picture = Add("a.com", 1);
    TCacheItem& elsewhere = Add("b.com", 0);
    TCacheItem& old = Add("a.com", 0, Now - 30);
    grouping.BuildDomainList(items, AgeWindowFor(AgeChoice::NewerThan, 1, AgeUnit::Weeks, Now));
    grouping.MoveToSrc({"b.com"});
    const std::string pageFile = page.CacheFile, pictureFile = picture.CacheFile;
    const std::string elsewhereFile = elsewhere.CacheFile, oldFile = old.CacheFile;

    auto deleter = MakeCacheEntryDeleter(Edition::Nav, "");
    const TypeSwitches textOnly{true, false, false};
    const DeletionResult result = DeleteChosenItems(items, grouping, textOnly, *deleter);

    EXPECT_EQ(result.Deleted, 1u);
    EXPECT_EQ(result.NotDeleted, 0u);
    EXPECT_FALSE(FileExists(pageFile));
    EXPECT_TRUE(FileExists(pictureFile));
    EXPECT_TRUE(FileExists(elsewhereFile));
    EXPECT_TRUE(FileExists(oldFile));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->CacheFile, pictureFile);  // the rest keep their order

    grouping.BuildDomainList(items, grouping.Window());
    EXPECT_EQ(grouping.CountSelection().Text, 1u);  // b.com's page; a.com's old one is outside
    EXPECT_EQ(grouping.CountSelection().Media, 1u);
}

TEST_F(NavDeletion, AnItemThatCannotBeDeletedStaysListed) {
    Add("a.com", 0);
    TCacheItem& stuck = Add("a.com", 0);
    ::unlink(stuck.CacheFile.c_str());
    WriteFile(stuck.CacheFile + "/inside", "a directory cannot be unlinked");
    TCacheItem& alreadyGone = Add("a.com", 0);
    ::unlink(alreadyGone.CacheFile.c_str());
    grouping.BuildDomainList(items, OpenAgeWindow(Now));

    auto deleter = MakeCacheEntryDeleter(Edition::Nav, "");
    const DeletionResult result = DeleteChosenItems(items, grouping, TypeSwitches{}, *deleter);
    EXPECT_EQ(result.Deleted, 2u);
    EXPECT_EQ(result.NotDeleted, 1u);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->CacheFile, stuck.CacheFile);
}

TEST_F(NavDeletion, TheWholeCacheWarningOnlyWhenEverythingIsChosen) {
    Add("a.com", 0);
    Add("b.com", 1);
    grouping.BuildDomainList(items, OpenAgeWindow(Now));
    EXPECT_EQ(DeleteQuestion(true, grouping, TypeSwitches{}), DeleteWholeCacheQuestionText);
    EXPECT_EQ(DeleteQuestion(false, grouping, TypeSwitches{}), DeleteQuestionText);
    // An unchecked switch whose count is 0 still covers the whole cache.
    EXPECT_EQ(DeleteQuestion(true, grouping, TypeSwitches{true, true, false}),
              DeleteWholeCacheQuestionText);
    EXPECT_EQ(DeleteQuestion(true, grouping, TypeSwitches{true, false, true}), DeleteQuestionText);
    grouping.MoveToSrc({"b.com"});
    EXPECT_EQ(DeleteQuestion(true, grouping, TypeSwitches{}), DeleteQuestionText);
}

TEST(IeDeletion, EntriesLeaveTheIndexAndTheList) {
    TempDir dir;
    LoadMimeTypes(dir.Path());
    const std::string cache = testing::CopyCache(testing::IeFixture("typical"), dir.Path());
    TCacheItemList items;
    ASSERT_TRUE(ReadUrlCache(cache, items));
    ASSERT_GE(items.size(), 2u);
    const std::size_t before = items.size();
    const std::string domain = items[0]->Domain;
    DomainGrouping grouping;
    grouping.BuildDomainList(items, OpenAgeWindow(Now + 20000));
    std::vector<std::string> others;
    for (const auto& name : grouping.DstList().Names()) {
        if (name != domain) {
            others.push_back(name);
        }
    }
    grouping.MoveToSrc(others);

    auto deleter = MakeCacheEntryDeleter(Edition::IE, cache);
    const DeletionResult result = DeleteChosenItems(items, grouping, TypeSwitches{}, *deleter);
    ASSERT_TRUE(result.Outcome.ok()) << result.Outcome.message();
    EXPECT_GT(result.Deleted, 0u);
    EXPECT_EQ(result.NotDeleted, 0u);

    TCacheItemList reread;
    ASSERT_TRUE(ReadUrlCache(cache, reread));
    EXPECT_EQ(reread.size(), before - result.Deleted);
    for (const auto& item : reread) {
        EXPECT_NE(item->Domain, domain);
    }
}

TEST(IeDeletion, ADamagedIndexDeletesNothing) {
    TempDir dir;
    LoadMimeTypes(dir.Path());
    const std::string cache = testing::CopyCache(testing::IeFixture("typical"), dir.Path());
    TCacheItemList items;
    ASSERT_TRUE(ReadUrlCache(cache, items));
    const std::string index = cache + "index.dat";
    std::string bytes = testing::ReadFile(index);
    bytes.resize(bytes.size() / 2);
    WriteFile(index, bytes);
    DomainGrouping grouping;
    grouping.BuildDomainList(items, OpenAgeWindow(Now + 20000));

    auto deleter = MakeCacheEntryDeleter(Edition::IE, cache);
    const DeletionResult result = DeleteChosenItems(items, grouping, TypeSwitches{}, *deleter);
    EXPECT_FALSE(result.Outcome.ok());
    EXPECT_EQ(result.Deleted, 0u);
    EXPECT_EQ(result.NotDeleted, grouping.ChosenCount(TypeSwitches{}));
    EXPECT_GT(result.NotDeleted, 0u);
    EXPECT_EQ(testing::ReadFile(index), bytes);
    for (const auto& item : items) {
        EXPECT_TRUE(FileExists(item->CacheFile));
    }
}

}  // namespace
}  // namespace arkivo
