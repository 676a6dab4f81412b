// How the arkivo tool shows texts from caches and archives on a terminal.

#include "app/cli/console.h"

#include <gtest/gtest.h>

namespace arkivo::cli {
namespace {

TEST(PrintableText, ShowsEveryControlByteAsHex) {
    EXPECT_EQ(PrintableText(std::string("a\x1b]0;t\x07\n\t\r\x7f\x00z", 13)),
              "a\\x1B]0;t\\x07\\x0A\\x09\\x0D\\x7F\\x00z");
    EXPECT_EQ(PrintableText("plain ~ \x80\xe9 text"), "plain ~ \x80\xe9 text");
}

TEST(PlainLines, KeepsCrLfLineBreaksAndShowsOtherControlBytes) {
    EXPECT_EQ(PlainLines("Cannot open\r\n\r\nhttp://x/\x1b[2J\n\r"),
              "Cannot open\n\nhttp://x/\\x1B[2J\\x0A\\x0D");
}

}  // namespace
}  // namespace arkivo::cli
