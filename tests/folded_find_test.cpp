#include "search/folded_find.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "search/text_search.h"

namespace arkivo {
namespace {

// The plain way: fold a copy of the bytes, then look for the text.
bool FoldThenFind(const std::string& bytes, const std::string& foldedText) {
    std::string folded = bytes;
    FoldCase(folded.data(), folded.size());
    return folded.find(foldedText) != std::string::npos;
}

TEST(FindFolded, MatchesAtEveryPositionAndLengthAroundTheBlockWidth) {
    for (std::size_t length = 1; length <= 40; ++length) {
        const std::string text = std::string(length - 1, 'q') + "z";
        for (std::size_t size = length; size <= 70; ++size) {
            for (std::size_t at = 0; at + length <= size; ++at) {
                std::string bytes(size, 'Q');
                for (std::size_t i = 0; i < length; ++i) {
                    bytes[at + i] = i + 1 == length ? 'Z' : (i % 2 ? 'q' : 'Q');
                }
                ASSERT_TRUE(FindFolded(bytes.data(), bytes.size(), text))
                    << "length " << length << " size " << size << " at " << at;
                // Without its last letter the text is nowhere.
                bytes[at + length - 1] = 'Q';
                ASSERT_FALSE(FindFolded(bytes.data(), bytes.size(), text))
                    << "length " << length << " size " << size << " at " << at;
            }
        }
    }
}

TEST(FindFolded, FoldsOnlyTheLettersAToZ) {
    // The neighbours of A and Z, and a byte above 127 whose low bits are those of 'A'.
    const std::string bytes = "@[\xC1 AZ";
    EXPECT_TRUE(FindFolded(bytes.data(), bytes.size(), "az"));
    EXPECT_FALSE(FindFolded(bytes.data(), bytes.size(), "`{"));
    EXPECT_FALSE(FindFolded(bytes.data(), bytes.size(), "\xE1"));
    EXPECT_TRUE(FindFolded(bytes.data(), bytes.size(), "\xC1"));
    EXPECT_TRUE(FindFolded(bytes.data(), bytes.size(), ""));
    EXPECT_FALSE(FindFolded(bytes.data(), 1, "@["));
}

TEST(FindFolded, AgreesWithFoldingFirstOnRandomBytes) {
    std::mt19937 random(7);
    // Few distinct bytes, so partial matches are frequent; letters of both cases and
    // the bytes just outside A to Z among them.
    const std::string alphabet = "aAbB@[`{\x80\xC1";
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(random() % 90, ' ');
        for (char& c : bytes) {
            c = alphabet[random() % alphabet.size()];
        }
        std::string text(1 + random() % 6, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        FoldCase(text.data(), text.size());
        const bool expected = FoldThenFind(bytes, text);
        ASSERT_EQ(FindFolded(bytes.data(), bytes.size(), text), expected)
            << "text \"" << text << "\" in \"" << bytes << "\"";
        found += expected ? 1 : 0;
    }
    EXPECT_GT(found, 2000);
    EXPECT_LT(found, 18000);
}

}  // namespace
}  // namespace arkivo
