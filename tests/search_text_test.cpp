#include "search/text_search.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::TempDir;
using testing::WriteFile;

class SearchTextInFileTest : public ::testing::Test {
  protected:
    TextSearchResult Search(std::string_view text, const std::string& bytes) {
        WriteFile(dir / "page.htm", bytes);
        return SearchTextInFile(text, dir.Path(), dir / "page.htm");
    }

    TempDir dir;
};

TEST_F(SearchTextInFileTest, FindsTheTextInAnyLetterCase) {
    EXPECT_EQ(Search("world", "<p>Hello WoRLD</p>"), TextSearchResult::Found);
    EXPECT_EQ(Search("WORLD", "<p>hello world</p>"), TextSearchResult::Found);
    EXPECT_EQ(Search("worlds", "<p>hello world</p>"), TextSearchResult::NotFound);
}

TEST_F(SearchTextInFileTest, FoldsOnlyTheLettersAToZ) {
    EXPECT_EQ(Search("caf\xE9", "CAF\xC9"), TextSearchResult::NotFound);
    EXPECT_EQ(Search("caf\xC9", "caf\xC9"), TextSearchResult::Found);
    EXPECT_EQ(Search("[a]", "{A}"), TextSearchResult::NotFound);
}

TEST_F(SearchTextInFileTest, FindsTextAcrossByte2048) {
    std::string page(4096, '.');
    page.replace(2045, 7, "Archive");
    EXPECT_EQ(Search("archive", page), TextSearchResult::Found);
}

TEST_F(SearchTextInFileTest, FindsTextAtEveryOffsetAroundTheBlockBorder) {
    const std::string text = "needle-in-a-page";
    for (std::size_t at = TextSearchBlockSize - text.size() - 1; at <= TextSearchBlockSize + 1;
         ++at) {
        std::string page(2 * TextSearchBlockSize + 100, 'x');
        page.replace(at, text.size(), text);
        EXPECT_EQ(Search(text, page), TextSearchResult::Found) << "text at byte " << at;
    }
}

TEST_F(SearchTextInFileTest, FindsTextInTheLastBytesOfAFileOfWholeBlocks) {
    std::string page(2 * TextSearchBlockSize, 'x');
    page.replace(page.size() - 4, 4, "tail");
    EXPECT_EQ(Search("tail", page), TextSearchResult::Found);
    EXPECT_EQ(Search("head", page), TextSearchResult::NotFound);
}

TEST_F(SearchTextInFileTest, SearchesTextAfterAZeroByte) {
    EXPECT_EQ(Search("after", std::string("before\0after", 12)), TextSearchResult::Found);
    std::string page(5000, 'x');
    page[10] = '\0';
    page.replace(100, 5, "AFTER");
    EXPECT_EQ(Search("after", page), TextSearchResult::Found);
}

TEST_F(SearchTextInFileTest, AMatchNeverSpansAZeroByte) {
    EXPECT_EQ(Search("world", std::string("wor\0ld", 6)), TextSearchResult::NotFound);
    EXPECT_EQ(Search(std::string("a\0b", 3), std::string("a\0b", 3)), TextSearchResult::NotFound);
}

TEST_F(SearchTextInFileTest, EmptyPagesHoldNothingButTheEmptyText) {
    EXPECT_EQ(Search("x", ""), TextSearchResult::NotFound);
    EXPECT_EQ(Search("", ""), TextSearchResult::Found);
}

TEST_F(SearchTextInFileTest, AFileThatCannotBeReadIsUnreadable) {
    EXPECT_EQ(SearchTextInFile("x", dir.Path(), dir / "missing.htm"), TextSearchResult::Unreadable);
    EXPECT_EQ(SearchTextInFile("x", dir.Path(), dir.Path()), TextSearchResult::Unreadable);
}

TEST(SearchFoldCase, ChangesTheLettersAToZAndNothingElse) {
    std::string bytes(256, '\0');
    for (int c = 0; c < 256; ++c) {
        bytes[static_cast<std::size_t>(c)] = static_cast<char>(c);
    }
    FoldCase(bytes.data(), bytes.size());
    for (int c = 0; c < 256; ++c) {
        const int expected = c >= 'A' && c <= 'Z' ? c + 32 : c;
        EXPECT_EQ(static_cast<unsigned char>(bytes[static_cast<std::size_t>(c)]), expected) << c;
    }
}

}  // namespace
}  // namespace arkivo
