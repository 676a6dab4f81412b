#include "webarchive/cdxj.h"

#include <gtest/gtest.h>

#include "webarchive/digest.h"
#include "webarchive/warc_fields.h"
#include "webarchive/warc_time.h"

namespace arkivo {
namespace {

// The keys below are what warcio's cdx-index gives for the same URLs.
TEST(Cdxj, SurtKeysFollowTheIndexConvention) {
    EXPECT_EQ(SurtKey("http://www.Example.com:80/a/b?z=1&a=2"), "com,example)/a/b?a=2&z=1");
    EXPECT_EQ(SurtKey("https://www2.example.com/"), "com,example)/");
    EXPECT_EQ(SurtKey("https://example.com:443/X#frag"), "com,example)/x");
    EXPECT_EQ(SurtKey("http://news.harbor-town.example:8080"), "example,harbor-town,news:8080)/");
    EXPECT_EQ(SurtKey("http://user@host.example/?"), "example,host)/");
    EXPECT_EQ(SurtKey("http://WWW.example.com/"), "com,example,www)/");
    EXPECT_EQ(SurtKey("ftp://files.example/pub"), "ftp://files.example/pub");
}

TEST(Cdxj, LinesCarryEveryFieldAndNameTheirFile) {
    CdxjEntry entry{"http://example.com/p", 86400, "text/html", 200, "ABC", 120, 450,
                    "a \"b\".warc.gz"};
    const std::string line = CdxjLine(entry);
    EXPECT_EQ(line,
              "com,example)/p 19700102000000 {\"url\":\"http://example.com/p\",\"mime\":\"text/"
              "html\",\"status\":\"200\",\"digest\":\"ABC\",\"length\":\"120\",\"offset\":\"450\","
              "\"filename\":\"a \\\"b\\\".warc.gz\"}");
    EXPECT_TRUE(CdxjLineIsFor(line, "a \"b\".warc.gz"));
    EXPECT_FALSE(CdxjLineIsFor(line, "b\".warc.gz"));
    entry.Status = 0;
    EXPECT_EQ(CdxjLine(entry).find("status"), std::string::npos);

    std::vector<std::string> lines = {"b 2", "a 1", "b 2", "a 0"};
    SortCdxjLines(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"a 0", "a 1", "b 2"}));
}

TEST(Cdxj, TimesAreUtcAndHeldInsideFourDigitYears) {
    EXPECT_EQ(WarcDate(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(CdxTimestamp(1764547200), "20251201000000");
    EXPECT_EQ(WarcDate(-99999999999999), "0001-01-01T00:00:00Z");
    EXPECT_EQ(WarcDate(99999999999999), "9999-12-31T23:59:59Z");
}

TEST(Cdxj, DigestsAndFieldTextsAreSpelledAsWebArchivesExpect) {
    EXPECT_EQ(Base32("foobar"), "MZXW6YTBOI======");
    Digest sha1(DigestAlgorithm::Sha1);
    EXPECT_EQ(WarcDigestText(sha1.Finish()), "sha1:3I42H3S6NNFQ2MSVX7XZKYAYSCX5QBYJ");
    Digest sha256(DigestAlgorithm::Sha256);
    sha256.Add("ab");
    sha256.Add("c");
    EXPECT_EQ(HexText(sha256.Finish()),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");

    EXPECT_EQ(UriText("http://h/a b\r\nX: y\xE9%41\"<>"),
              "http://h/a%20b%0D%0AX:%20y%E9%41%22%3C%3E");
    EXPECT_EQ(FieldValue("C:\\cache\r\nWARC-Type: x"), "C:\\x5Ccache\\x0D\\x0AWARC-Type: x");
}

}  // namespace
}  // namespace arkivo
