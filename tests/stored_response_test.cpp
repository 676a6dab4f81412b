#include "webarchive/stored_response.h"

#include <gtest/gtest.h>

namespace arkivo {
namespace {

using namespace std::string_literals;

TEST(StoredResponse, KeepsTheServersHeadAndDropsTheBrowsersLines) {
    const StoredResponse response = ReadStoredResponse(
        "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=iso-8859-1\r\nETag: \"x1\"\r\n"
        "Content-Length: 5\r\n\r\n~U:gold_administrator\r\n",
        5, "hello");
    ASSERT_TRUE(response.HasStatusLine);
    EXPECT_EQ(response.Status, 200);
    EXPECT_EQ(response.ContentType, "text/html; charset=iso-8859-1");
    EXPECT_EQ(response.Head,
              "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=iso-8859-1\r\nETag: \"x1\"\r\n"
              "Content-Length: 5\r\n\r\n");
}

TEST(StoredResponse, HeadersThatNoLongerDescribeTheBytesKeepTheirValueAsOriginals) {
    const StoredResponse response = ReadStoredResponse(
        "HTTP/1.1 200 OK\nTransfer-Encoding: chunked\nContent-Length: 99\n"
        "Content-Encoding: gzip\n~U:someone\n",
        5, "plain");
    EXPECT_EQ(response.Head,
              "HTTP/1.1 200 OK\r\nX-Archive-Orig-Transfer-Encoding: chunked\r\n"
              "X-Archive-Orig-Content-Length: 99\r\nX-Archive-Orig-Content-Encoding: gzip\r\n\r\n");

    // Bytes still so encoded keep their Content-Encoding.
    EXPECT_EQ(
        ReadStoredResponse("HTTP/1.0 200 OK\r\nContent-Encoding: x-gzip\r\n", 3, "\x1f\x8b\x08")
            .Head,
        "HTTP/1.0 200 OK\r\nContent-Encoding: x-gzip\r\n\r\n");
    EXPECT_EQ(
        ReadStoredResponse("HTTP/1.0 200 OK\r\nContent-Encoding: deflate\r\n", 2, "\x78\x9c").Head,
        "HTTP/1.0 200 OK\r\nContent-Encoding: deflate\r\n\r\n");
}

TEST(StoredResponse, HostileOrForeignTextNeverBreaksTheHead) {
    // Only a real status line makes a response.
    for (const char* text : {"", "~U:user\r\n", "HTTP/1.1 OK\r\n", "HTTP/ 200 OK", "HTTP/1.1 2000",
                             "HTTP/1.1 -20 OK", "HTTP/1.1 +20", "Content-Type: text/html\r\n"}) {
        EXPECT_FALSE(ReadStoredResponse(text, 0, "").HasStatusLine) << text;
    }
    EXPECT_TRUE(ReadStoredResponse("HTTP/1.1 404", 0, "").HasStatusLine);

    // Lines that are no header are dropped, a folded one joins its header, and
    // control bytes cannot end a line early.
    const StoredResponse response = ReadStoredResponse(
        "HTTP/1.1 301 Moved\r\nnot a header\r\nBad Name: x\r\nX-A: one\r\n two\r\n"
        "Location: /next\rInjected: yes\r\nX-B: a\0b\r\n"s,
        0, "");
    EXPECT_EQ(response.Status, 301);
    EXPECT_EQ(
        response.Head,
        "HTTP/1.1 301 Moved\r\nX-A: one two\r\nLocation: /next Injected: yes\r\nX-B: a b\r\n\r\n");
}

}  // namespace
}  // namespace arkivo
