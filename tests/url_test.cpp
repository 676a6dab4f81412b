#include "model/url.h"

#include <gtest/gtest.h>

namespace arkivo {
namespace {

struct Split {
    std::string host;
    int port;
    std::string path;
};

Split SplitFull(std::string url) {
    Split split;
    split.host = SplitHost(url);
    split.port = SplitPort(url);
    split.path = SplitPath(url);
    return split;
}

Split SplitShort(std::string url) {
    Split split;
    split.host = SplitHostShort(url);
    split.port = SplitPortShort(url);
    split.path = SplitPathShort(url);
    return split;
}

struct SplitCase {
    const char* url;
    Split full;
    Split shortForm;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << '"' << c.url << '"';
}

class UrlSplitting : public ::testing::TestWithParam<SplitCase> {};

TEST_P(UrlSplitting, BothFamiliesGiveTheirOwnResult) {
    const SplitCase& c = GetParam();
    const Split full = SplitFull(c.url);
    EXPECT_EQ(full.host, c.full.host) << c.url;
    EXPECT_EQ(full.port, c.full.port) << c.url;
    EXPECT_EQ(full.path, c.full.path) << c.url;
    const Split shortForm = SplitShort(c.url);
    EXPECT_EQ(shortForm.host, c.shortForm.host) << c.url;
    EXPECT_EQ(shortForm.port, c.shortForm.port) << c.url;
    EXPECT_EQ(shortForm.path, c.shortForm.path) << c.url;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlSplitting,
    ::testing::Values(
        SplitCase{"GET HTTP://SOMEHOST:80/A\\b.html HTTP/1.0",
                  {"somehost", 80, "/A/b.html"},
                  {"somehost", 80, "/A/b.html"}},
        SplitCase{"somehost:/x", {"somehost", 80, "/x"}, {"somehost", 80, "/x"}},
        SplitCase{"http://somehost", {"somehost", 80, "/"}, {"somehost", 80, "/"}},
        SplitCase{"https://somehost/x", {"somehost", 80, "/x"}, {"NONE", 80, "/"}},
        SplitCase{"ftp://somehost/x", {"NONE", 80, "/"}, {"somehost", 80, "/x"}},
        SplitCase{"visited:user@http://h/", {"NONE", 80, "/"}, {"visited", 80, "//h/"}},
        SplitCase{"Cookie:user@h/", {"NONE", 80, "/"}, {"cookie", 80, "/"}},
        SplitCase{"POST HEAD GET http://h/x", {"head get http", 80, "//h/x"}, {"h", 80, "/x"}},
        SplitCase{"  http://Host.Example.COM:8080  ",
                  {"host.example.com", 8080, "/"},
                  {"host.example.com", 8080, "/"}},
        SplitCase{"http://h:abc/x", {"h", 80, "/x"}, {"h", 80, "/x"}},
        SplitCase{"http://h\\dir\\f.gif", {"h", 80, "/dir/f.gif"}, {"h\\dir\\f.gif", 80, "/"}},
        SplitCase{"http:///path", {"NONE", 80, "/path"}, {"NONE", 80, "/path"}},
        SplitCase{"mailto:me@h", {"mailto", 80, "/"}, {"NONE", 80, "/"}},
        SplitCase{"news:comp.lang", {"news", 80, "/"}, {"NONE", 80, "/"}},
        SplitCase{"GET http://h/x HTTP/1.0", {"h", 80, "/x"}, {"h", 80, "/x"}},
        // Request words, schemes and the protocol tail in any letter case.
        SplitCase{
            "get hTTp://h/HTTP/1.1/x hTTp/1.0", {"h", 80, "/HTTP/1.1/x"}, {"h", 80, "/HTTP/1.1/x"}},
        SplitCase{"HttpS://h/x", {"h", 80, "/x"}, {"NONE", 80, "/"}}));

TEST(CanonicalUrl, DropsPort80AndLowersSchemeAndHost) {
    EXPECT_EQ(CanonicalUrl("GET HTTP://SOMEHOST:80/A\\b.html HTTP/1.0"),
              "http://somehost/A/b.html");
    EXPECT_EQ(CanonicalUrlShort("HTTP://SOMEHOST:80/A\\b.html"), "http://somehost/A/b.html");
    EXPECT_EQ(CanonicalUrl("http://somehost"), "http://somehost/");
}

TEST(CanonicalUrl, AnyOtherPortKeepsTheTextExactly) {
    const char* url = "HTTP://SomeHost:8080/A\\B.html";
    EXPECT_EQ(CanonicalUrl(url), url);
    EXPECT_EQ(CanonicalUrlShort(url), url);
}

TEST(CanonicalUrl, RejectedHostsKeepTheInput) {
    EXPECT_EQ(CanonicalUrl("ftp://h/x"), "ftp://h/x");
    EXPECT_EQ(CanonicalUrlShort("https://h/x"), "https://h/x");
    EXPECT_EQ(CanonicalUrlShort("ftp://h/x"), "http://h/x");
}

TEST(ShortFamily, CutsAtItsBounds) {
    const std::string longPath = "http://h/" + std::string(400, 'p');
    std::string text = longPath;
    EXPECT_EQ(SplitHostShort(text), "h");
    SplitPortShort(text);
    EXPECT_EQ(SplitPathShort(text).size(), 255u - 8u);  // the input itself is cut at 255
    EXPECT_EQ(CanonicalUrlShort(longPath).size(), 254u);

    std::string longHost(300, 'a');
    EXPECT_EQ(SplitHost(longHost).size(), 255u);
    EXPECT_EQ(CanonicalUrl(longPath).size(), longPath.size());
}

TEST(UrlText, TrimUrlRemovesBlanksOfCode32AndBelow) {
    EXPECT_EQ(TrimUrl(" \t\x01http://h/ \r\n"), "http://h/");
    EXPECT_EQ(TrimUrl("   "), "");
}

TEST(UrlText, LastPathSegment) {
    EXPECT_EQ(LastPathSegment("http://h/dir/file.gif"), "file.gif");
    EXPECT_EQ(LastPathSegment("http://h/dir/"), "");
    EXPECT_EQ(LastPathSegment("noslash"), "noslash");
    EXPECT_EQ(LastPathSegment("/" + std::string(300, 'x')).size(), 255u);
}

TEST(UrlText, FileNameSafeKeepsOnlyTheSafeSet) {
    EXPECT_EQ(FileNameSafe("my-host:80"), "my-host80");
    EXPECT_EQ(FileNameSafe("a b/c\\d"), "abcd");
    EXPECT_EQ(FileNameSafe("!#$%&'()-.@^_`{}~09AZaz"), "!#$%&'()-.@^_`{}~09AZaz");
    EXPECT_EQ(FileNameSafe("\"*+,:;<=>?[]|\x7f\x80\xff"), "");
    EXPECT_EQ(FileNameSafe(std::string(300, 'a')).size(), 255u);
}

}  // namespace
}  // namespace arkivo
