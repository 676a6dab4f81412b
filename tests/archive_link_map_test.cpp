#include "archive/archive_link_map.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/content_types.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

constexpr int Html = 1;
constexpr int Gif = 2;

std::unique_ptr<TCacheItem> Item(std::string url, std::string name, int kind = Html,
                                 std::string domain = "host") {
    auto item = std::make_unique<TCacheItem>();
    item->Url = std::move(url);
    item->ArchiveName = std::move(name);
    item->Kind = kind;
    item->Domain = std::move(domain);
    return item;
}

class ArchiveLinkMapTest : public ::testing::Test {
  protected:
    void SetUp() override { LoadMimeTypes(types.Path()); }

    // Items owned here; the job refers to them the way a run's job does.
    TCacheItem* Job(std::unique_ptr<TCacheItem> item) {
        jobItems.push_back(std::move(item));
        job.push_back(jobItems.back().get());
        return job.back();
    }
    void List(std::unique_ptr<TCacheItem> item) { list.push_back(std::move(item)); }
    std::string Map(std::string_view link) const {
        return std::string(ArchiveLinkMap(job, list).MapToArchive(link));
    }

    testing::TempDir types;
    TCacheItemList jobItems;
    std::vector<TCacheItem*> job;
    TCacheItemList list;
};

TEST_F(ArchiveLinkMapTest, GivesTheArchivedCopyRelativeToAnotherArchivedPage) {
    Job(Item("http://host:80/dir/page.htm", "page.htm"));
    List(Item("http://host:80/pic.gif", "pic_1.gif", Gif));
    EXPECT_EQ(Map("http://host:80/dir/page.htm"), "../../host/text/page.htm");
    EXPECT_EQ(Map("http://host:80/pic.gif"), "../../host/image/pic_1.gif");
    EXPECT_EQ(Map("http://host:80/other.htm"), "../../notfound.htm");
}

TEST_F(ArchiveLinkMapTest, LinksArePercentEncodedSoABrowserOpensTheNamedFile) {
    Job(Item("http://host:80/my%20page.htm", "my%20page[1].htm", Html, "h%41"));
    EXPECT_EQ(Map("http://host:80/my%20page.htm"), "../../h%2541/text/my%2520page%5B1%5D.htm");
}

TEST_F(ArchiveLinkMapTest, JobIsSearchedBeforeList) {
    List(Item("http://host:80/a.htm", "from-list.htm"));
    Job(Item("http://host:80/a.htm", "from-job.htm"));
    EXPECT_EQ(Map("http://host:80/a.htm"), "../../host/text/from-job.htm");
}

TEST_F(ArchiveLinkMapTest, LinkMatchesUrlWithSlashAppendedButNotTheReverse) {
    Job(Item("http://host:80/dir/", "dir.htm"));
    List(Item("http://host:80/nodir", "nodir.htm"));
    EXPECT_EQ(Map("http://host:80/dir"), "../../host/text/dir.htm");
    EXPECT_EQ(Map("http://host:80/dir/"), "../../host/text/dir.htm");
    EXPECT_EQ(Map("http://host:80/nodir/"), "../../notfound.htm");
}

TEST_F(ArchiveLinkMapTest, EarlierItemWinsWhetherItMatchesExactlyOrWithSlash) {
    // Within one list, the first item in list order that matches either way wins.
    Job(Item("http://host:80/a/", "a-slash.htm"));
    Job(Item("http://host:80/a", "a-exact.htm"));
    Job(Item("http://host:80/b", "b-exact.htm"));
    Job(Item("http://host:80/b/", "b-slash.htm"));
    EXPECT_EQ(Map("http://host:80/a"), "../../host/text/a-slash.htm");
    EXPECT_EQ(Map("http://host:80/b"), "../../host/text/b-exact.htm");
}

TEST_F(ArchiveLinkMapTest, FirstOfEqualUrlsWins) {
    List(Item("http://host:80/a.htm", "first.htm"));
    List(Item("http://host:80/a.htm", "second.htm"));
    EXPECT_EQ(Map("http://host:80/a.htm"), "../../host/text/first.htm");
}

TEST_F(ArchiveLinkMapTest, LetterCaseCounts) {
    Job(Item("http://host:80/Page.htm", "Page.htm"));
    EXPECT_EQ(Map("http://host:80/page.htm"), "../../notfound.htm");
    EXPECT_EQ(Map("http://host:80/Page.htm"), "../../host/text/Page.htm");
}

TEST_F(ArchiveLinkMapTest, ItemsWithoutAnArchivedCopyArePassedOver) {
    const std::string url = "http://host:80/a.htm";
    job.push_back(nullptr);
    Job(Item(url, ".."));
    Job(Item(url, "x.htm", Html, ""));
    Job(Item(url, "a/b.htm"));
    Job(Item(url, "never.htm", 0));
    List(Item(url, std::string("nul\0.htm", 8)));
    List(Item(url, "kept.htm"));
    EXPECT_EQ(Map(url), "../../host/text/kept.htm");
}

TEST_F(ArchiveLinkMapTest, FindsItemsBeyond65535) {
    for (int i = 0; i < 70000; ++i) {
        List(Item("http://host:80/" + std::to_string(i), std::to_string(i) + ".htm"));
    }
    EXPECT_EQ(Map("http://host:80/69999"), "../../host/text/69999.htm");
    EXPECT_EQ(Map("http://host:80/4464"), "../../host/text/4464.htm");  // 69999 - 65535
}

TEST_F(ArchiveLinkMapTest, StaysRightWhileTheRunMergesIntoTheList) {
    List(Item("http://host:80/a.htm", "a.htm"));
    TCacheItem* again = Job(Item("http://host:80/a.htm", "a_1.htm"));
    TCacheItem* added = Job(Item("http://host:80/b.htm", "b.htm"));
    const ArchiveLinkMap map(job, list);
    list[0]->AssignFrom(*again);
    list.push_back(std::make_unique<TCacheItem>(*added));
    EXPECT_EQ(map.MapToArchive("http://host:80/a.htm"), "../../host/text/a_1.htm");
    EXPECT_EQ(map.MapToArchive("http://host:80/b.htm"), "../../host/text/b.htm");
}

}  // namespace
}  // namespace arkivo
