#include "model/item_building.h"

#include <gtest/gtest.h>

#include "model/content_types.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::TempDir;

class ItemBuilding : public ::testing::Test {
  protected:
    void SetUp() override { LoadMimeTypes(dir.Path()); }

    TCacheItem* Build(Edition edition, std::string_view url, std::string_view type = "text/html") {
        return BuildCacheItem(
            edition, CacheEntry{url, cached, true, type, 36000.25, "key", 0, nullptr}, items);
    }

    TempDir dir;
    std::string cached = dir / "cache/M0001.htm";
    TCacheItemList items;
};

TEST_F(ItemBuilding, CanonicalUrlAlwaysCarriesThePort) {
    for (Edition edition : {Edition::Nav, Edition::IE}) {
        TCacheItem* item = Build(edition, "http://Some.HOST:8080");
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Url, "http://some.host:8080/");
        EXPECT_EQ(item->Domain, "some.host");
        EXPECT_EQ(Build(edition, "http://h/x")->Url, "http://h:80/x");
    }
}

TEST_F(ItemBuilding, EachEditionKeepsItsOwnSchemes) {
    TCacheItem* ftp = Build(Edition::Nav, "ftp://files.example/pub/a.zip");
    ASSERT_NE(ftp, nullptr);
    EXPECT_EQ(ftp->Url, "http://files.example:80/pub/a.zip");
    EXPECT_EQ(Build(Edition::Nav, "https://secure.example/"), nullptr);

    EXPECT_EQ(Build(Edition::IE, "ftp://files.example/pub/a.zip"), nullptr);
    TCacheItem* https = Build(Edition::IE, "https://secure.example/login");
    ASSERT_NE(https, nullptr);
    EXPECT_EQ(https->Url, "http://secure.example:80/login");
    EXPECT_EQ(items.size(), 2u);
}

TEST_F(ItemBuilding, FieldsFromTheEntry) {
    TCacheItem* item = Build(Edition::IE, "http://h/pic", "IMAGE/GIF");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Kind, 2);
    EXPECT_EQ(item->Group, MediaGroup);
    EXPECT_EQ(item->Date, 36000.25);
    EXPECT_EQ(item->CacheFile, cached);
    EXPECT_EQ(item->CacheKey, "key");
    EXPECT_EQ(item->Title, "");
    EXPECT_EQ(item->ArchiveName, "");

    TCacheItem* untyped = Build(Edition::IE, "http://h/", "");
    ASSERT_NE(untyped, nullptr);
    EXPECT_EQ(untyped->Kind, 1);
    EXPECT_EQ(untyped->Group, OtherGroup);
}

TEST_F(ItemBuilding, TheDomainIsTheHostMadeSafeForAFileName) {
    TCacheItem* item = Build(Edition::IE, "http://we|ird\"host/");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Domain, "weirdhost");
}

TEST_F(ItemBuilding, EntriesWithoutHostOrFileAreDropped) {
    EXPECT_EQ(Build(Edition::IE, "http:///x"), nullptr);
    EXPECT_EQ(Build(Edition::Nav, "file://c/x"), nullptr);
    EXPECT_EQ(BuildCacheItem(
                  Edition::Nav,
                  CacheEntry{"http://h/", dir / "missing", false, "text/html", 1.0, "", 0, nullptr},
                  items),
              nullptr);
    EXPECT_TRUE(items.empty());
}

}  // namespace
}  // namespace arkivo
