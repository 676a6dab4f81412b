#include "archiver/archive_names.h"

#include <gtest/gtest.h>

#include "model/file_utils.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(NameFromUrl, FollowsTheExamples) {
    const TExtensionTable table = BuildExtensionTable();
    const std::tuple<const char*, int, const char*> cases[] = {
        {"http://h:80/docs/index.html", 1, "index.htm"},
        {"http://h:80/a/photo.jpeg", 3, "photo.jpg"},
        {"http://h:80/get/tool-1.zip", 44, "tool1.zip"},
        {"http://h:80/cgi/show?id=7", 1, "showid7.htm"},
        {"http://h:80/dir/", 1, "dir.htm"},
        {"http://h:80/", 1, "h.htm"},
        {"http://h:80/a.b.html", 1, "a.b.htm"},
        {"http://h:80/pic", 2, "pic.gif"},
        {"http://h:80/song.wav", 26, "song.wav"},
        {"http://h:80/noext", 73, "noext.htm"},
        {"http://h:8080/x/", 1, "x.htm"},
    };
    for (const auto& [url, code, expected] : cases) {
        EXPECT_EQ(NameFromUrl(url, code, table), expected) << url;
    }
}

TEST(NextCandidateName, CountsUp) {
    const std::pair<const char*, const char*> cases[] = {
        {"page.htm", "page(1).htm"},
        {"page(1).htm", "page(2).htm"},
        {"page(9).htm", "page(10).htm"},
        {"a(7)", "a(8)"},
        {"abc()", "abc()(1)"},
        {"x(a1)", "x(a1)(1)"},
        {"123)", "123)(124)"},
        {"ab)", "ab)(1)"},
        {"a.htm.htm", "a(1).htm"},
        {"noext", "noext(1)"},
        {"a(99999999999).htm", "a(99999999999)(1).htm"},
        {"a(4294967294).htm", "a(4294967295).htm"},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(NextCandidateName(name), expected) << name;
    }
}

TEST(NextCandidateName, NeverCutsTheCounterAtTheBound) {
    const std::string longName = std::string(251, 'n') + ".htm";
    const std::string next = NextCandidateName(longName);
    EXPECT_EQ(next.size(), 255u);
    EXPECT_EQ(next.substr(next.size() - 7), "(1).htm");
    EXPECT_NE(NextCandidateName(next), next);
    EXPECT_EQ(NextCandidateName(next).substr(248), "(2).htm");
}

class AssignNames : public ::testing::Test {
  protected:
    TCacheItem Item(const std::string& url, int kind = 1, const std::string& domain = "h") {
        TCacheItem item;
        item.Url = url;
        item.Kind = kind;
        item.Domain = domain;
        item.CacheFile = "/cache/dir/M00A1.htm";
        return item;
    }

    TempDir archive;
    UsedNames used;
    TExtensionTable table = BuildExtensionTable();
};

TEST_F(AssignNames, CollisionsIgnoreCaseAndExistingFiles) {
    TCacheItem first = Item("http://h:80/a/index.html");
    TCacheItem second = Item("http://h:80/b/index.html");
    TCacheItem third = Item("http://h:80/c/Index.html");
    ASSERT_TRUE(AssignArchiveName(first, archive.Path(), Edition::Nav, table, used));
    ASSERT_TRUE(AssignArchiveName(second, archive.Path(), Edition::Nav, table, used));
    ASSERT_TRUE(AssignArchiveName(third, archive.Path(), Edition::Nav, table, used));
    EXPECT_EQ(first.ArchiveName, "index.htm");
    EXPECT_EQ(second.ArchiveName, "index(1).htm");
    EXPECT_EQ(third.ArchiveName, "Index(2).htm");
    EXPECT_TRUE(IsDirectory(archive / "h/text"));

    WriteFile(archive / "h/text/page.htm", "someone else's file");
    TCacheItem fourth = Item("http://h:80/page.htm");
    ASSERT_TRUE(AssignArchiveName(fourth, archive.Path(), Edition::Nav, table, used));
    EXPECT_EQ(fourth.ArchiveName, "page(1).htm");
}

TEST_F(AssignNames, ArkivoIEUsesTheCachedFilesOwnName) {
    TCacheItem item = Item("http://h:80/whatever");
    ASSERT_TRUE(AssignArchiveName(item, archive.Path(), Edition::IE, table, used));
    EXPECT_EQ(item.ArchiveName, "M00A1.htm");
    item.CacheFile = "/cache/dir/";
    ASSERT_TRUE(AssignArchiveName(item, archive.Path(), Edition::IE, table, used));
    EXPECT_EQ(item.ArchiveName, "page.htm");
}

TEST_F(AssignNames, UnsafeNamesAndFoldersNeverBecomePaths) {
    TCacheItem dots = Item("http://h:80/..", 40);
    ASSERT_TRUE(AssignArchiveName(dots, archive.Path(), Edition::Nav, table, used));
    EXPECT_EQ(dots.ArchiveName, "page.exe");
    EXPECT_TRUE(IsDirectory(archive / "h/application"));

    for (const char* domain : {"", ".", ".."}) {
        TCacheItem bad = Item("http://x:80/a.htm", 1, domain);
        EXPECT_FALSE(AssignArchiveName(bad, archive.Path(), Edition::Nav, table, used)) << domain;
        EXPECT_EQ(bad.ArchiveName, "");
    }
    EXPECT_FALSE(IsDirectory(archive / "text"));
}

}  // namespace
}  // namespace arkivo
