#include "explorer/cache_deletion.h"

#include <gtest/gtest.h>

#include <filesystem>

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

TEST_F(NavDeletion, NothingOutsideTheCacheIsDeletedThroughALinkedFolder) {
    TempDir victim;
    WriteFile(victim / "thesis.txt", "years of work");
    std::filesystem::create_directory_symlink(victim.Path(), cache / "14");
    TCacheItem& linked = Add("a.com", 0);
    linked.CacheFile = cache / "14/thesis.txt";
    linked.CacheDirLength = cache.Path().size();
    grouping.BuildDomainList(items, OpenAgeWindow(Now));

    auto deleter = MakeCacheEntryDeleter(Edition::Nav, "");
    const DeletionResult result = DeleteChosenItems(items, grouping, TypeSwitches{}, *deleter);
    EXPECT_EQ(result.NotDeleted, 1u);
    EXPECT_EQ(testing::ReadFile(victim / "thesis.txt"), "years of work");
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

class IeDeletion : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadMimeTypes(dir.Path());
        cache = testing::CopyCache(testing::IeFixture("typical"), dir.Path());
        ASSERT_TRUE(ReadUrlCache(cache, items));
        grouping.BuildDomainList(items, OpenAgeWindow(Now + 20000));
        chosen = grouping.ChosenCount(TypeSwitches{});
        unchosen = items.size() - chosen;  // outside every age window
        ASSERT_GT(chosen, 2u);
    }

    DeletionResult DeleteAll(UrlCacheDeleteHooks hooks = {}) {
        auto deleter = MakeCacheEntryDeleter(Edition::IE, cache, std::move(hooks));
        return DeleteChosenItems(items, grouping, TypeSwitches{}, *deleter);
    }

    const TCacheItem* ItemOf(const std::string& url) const {
        for (const auto& item : items) {
            if (item->CacheKey == url) {
                return item.get();
            }
        }
        return nullptr;
    }

    TempDir dir;
    std::string cache;
    TCacheItemList items;
    DomainGrouping grouping;
    std::size_t chosen = 0;
    std::size_t unchosen = 0;
};

TEST_F(IeDeletion, AnEntryThatIsRefusedStaysAndSaysWhy) {
    const std::string index = cache + "index.dat";
    const IeUrlRecord target =
        *testing::FindRecord(testing::ParseFile(index), "http://static.example.net/sticky.png");
    // A group offset into the header marks the entry damaged, never to be edited.
    WriteFile(index, testing::WithU32(testing::ReadFile(index),
                                      target.Offset + ie_index::UrlGroupOffset, 0x34));
    const DeletionResult result = DeleteAll();
    EXPECT_EQ(result.NotDeleted, 1u);
    EXPECT_NE(result.FirstRefusal.find("http://static.example.net/sticky.png is damaged"),
              std::string::npos)
        << result.FirstRefusal;
}

TEST_F(IeDeletion, EntriesLeaveTheIndexAndTheList) {
    const std::size_t before = items.size();
    const std::string domain = items[0]->Domain;
    std::vector<std::string> others;
    for (const auto& name : grouping.DstList().Names()) {
        if (name != domain) {
            others.push_back(name);
        }
    }
    grouping.MoveToSrc(others);

    const DeletionResult result = DeleteAll();
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

// Each item is counted by the state it reached; only the still listed one stays.
TEST_F(IeDeletion, EachItemIsCountedByTheStateItReached) {
    // An entry in use is refused; a file in use cannot go.
    std::string bytes = testing::ReadFile(cache + "index.dat");
    IeIndex index;
    ASSERT_TRUE(ParseIndexFile(bytes, index).ok());
    for (const IeUrlRecord& url : index.Urls) {
        if (url.Location == "http://www.example.com/notype.css") {
            bytes[url.SlotOffset] = static_cast<char>(
                (bytes[url.SlotOffset] & ~ie_index::SlotFlagMask) | ie_index::SlotUrlLocked);
        }
    }
    WriteFile(cache + "index.dat", bytes);
    const DeletionResult result = DeleteAll(testing::KeepingFile("index[1].htm"));
    ASSERT_TRUE(result.Outcome.ok()) << result.Outcome.message();
    EXPECT_EQ(result.Deleted, chosen - 2);
    EXPECT_EQ(result.MarkedForDeletion, 1u);
    EXPECT_EQ(result.NotDeleted, 1u);
    EXPECT_EQ(result.EarlierDeleted, 1u);
    EXPECT_EQ(items.size(), unchosen + 1);
    EXPECT_NE(ItemOf("http://www.example.com/notype.css"), nullptr);
    EXPECT_EQ(ItemOf("http://www.example.com/index.html"), nullptr);
    EXPECT_TRUE(FileExists(cache + "ABCD1234/index[1].htm"));

    // The cache lists just what stayed in the list.
    TCacheItemList reread;
    ASSERT_TRUE(ReadUrlCache(cache, reread));
    EXPECT_EQ(reread.size(), items.size());
}

TEST_F(IeDeletion, NothingIsDeletedWhenTheIndexCannotBeWritten) {
    std::vector<std::string> written;
    const DeletionResult result = DeleteAll(testing::RecordingWrites(written, 1));
    EXPECT_EQ(result.Outcome.code(), StatusCode::WriteFailed);
    EXPECT_EQ(result.Deleted + result.MarkedForDeletion, 0u);
    EXPECT_EQ(result.NotDeleted, chosen);
    EXPECT_EQ(items.size(), chosen + unchosen);
    for (const auto& item : items) {
        EXPECT_TRUE(FileExists(item->CacheFile)) << item->CacheFile;
    }
}

// Items whose files are gone count as deleted even when the index clean-up failed;
// the next delete, with nothing chosen, finishes it.
TEST_F(IeDeletion, ACleanUpLeftPendingIsFinishedByTheNextDelete) {
    std::vector<std::string> written;
    const DeletionResult result = DeleteAll(testing::RecordingWrites(written, 2));
    EXPECT_NE(result.Outcome.message().find("the index clean-up is pending"), std::string::npos)
        << result.Outcome.message();
    EXPECT_EQ(result.Deleted, chosen);
    EXPECT_EQ(items.size(), unchosen);

    const DeletionResult next = DeleteAll();
    ASSERT_TRUE(next.Outcome.ok()) << next.Outcome.message();
    EXPECT_EQ(next.Deleted + next.MarkedForDeletion + next.NotDeleted, 0u);
    // The entries of the items and the fixture's own LEAK record.
    EXPECT_EQ(next.EarlierDeleted, chosen + 1);
    EXPECT_EQ(next.EarlierMarked, 0u);
    IeIndex index;
    ASSERT_TRUE(ParseIndexFile(testing::ReadFile(cache + "index.dat"), index).ok());
    EXPECT_TRUE(index.LeakChain.empty());
}

TEST_F(IeDeletion, ADamagedIndexDeletesNothing) {
    const std::string index = cache + "index.dat";
    std::string bytes = testing::ReadFile(index);
    bytes.resize(bytes.size() / 2);
    WriteFile(index, bytes);

    const DeletionResult result = DeleteAll();
    EXPECT_FALSE(result.Outcome.ok());
    EXPECT_EQ(result.Deleted, 0u);
    EXPECT_EQ(result.NotDeleted, chosen);
    EXPECT_EQ(testing::ReadFile(index), bytes);
    for (const auto& item : items) {
        EXPECT_TRUE(FileExists(item->CacheFile));
    }
}

}  // namespace
}  // namespace arkivo
