#include "rewriter/link_resolution.h"

#include <gtest/gtest.h>

#include <string>

namespace arkivo {
namespace {

struct BaseCase {
    const char* address;
    const char* base;
};

class LinkBaseCases : public ::testing::TestWithParam<BaseCase> {};

TEST_P(LinkBaseCases, KeepsHostPortAndDirectory) {
    EXPECT_EQ(LinkBase(GetParam().address), GetParam().base);
}

INSTANTIATE_TEST_SUITE_P(Addresses, LinkBaseCases,
                         ::testing::Values(BaseCase{"http://host:80/dir/index.htm", "host:80/dir/"},
                                           BaseCase{"HTTP://host:80/dir/", "host:80/dir/"},
                                           BaseCase{"http://host:80/", "host:80/"},
                                           BaseCase{"http://host:80", "host:80"},
                                           BaseCase{"ftp://host/a/b.txt", "ftp://host/a/"}));

TEST(LinkBase, KeepsALongAddressWhole) {
    const std::string dir = "host:80/" + std::string(300, 'd') + "/";
    EXPECT_EQ(LinkBase("http://" + dir + "page.htm"), dir);
}

TEST(NamesOtherScheme, OnlySchemesOtherThanHttpAndHttps) {
    for (const char* other : {"javascript:void(0)", "JavaScript:x", "mailto:a@b", "news:c.l",
                              "data:,x", "about:blank", "ftp://h/x", "x-my.app+1:y"}) {
        EXPECT_TRUE(NamesOtherScheme(other)) << other;
    }
    for (const char* web : {"http://h/x", "HTTPS://h/x", "http:x.htm", "http//h/x", "page.htm",
                            "dir/a:b.htm", "a.cgi?u=x:y", "#top", "1a:b", ":x", "", "mailto"}) {
        EXPECT_FALSE(NamesOtherScheme(web)) << web;
    }
}

struct ResolveCase {
    const char* link;
    const char* resolved;
};

class ResolveLinkCases : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(ResolveLinkCases, AgainstHostDir) {
    EXPECT_EQ(ResolveLink(GetParam().link, "host:80/dir/"), GetParam().resolved) << GetParam().link;
}

INSTANTIATE_TEST_SUITE_P(
    Links, ResolveLinkCases,
    ::testing::Values(ResolveCase{"page.htm", "http://host:80/dir/page.htm"},
                      ResolveCase{"/x.htm", "http://host:80/x.htm"},
                      ResolveCase{"go.cgi?to=http://x/", "http://host:80/dir/go.cgi?to=http://x/"},
                      ResolveCase{"page.htm#part", "http://host:80/dir/page.htm"},
                      ResolveCase{"#top", ""}, ResolveCase{"news:comp.lang", ""},
                      ResolveCase{"NEWS:comp.lang", ""}, ResolveCase{"mailto:x@host", ""},
                      ResolveCase{"MAILTO:x@host", ""},
                      ResolveCase{"http//host/x.htm", "http://host:80/x.htm"},
                      ResolveCase{"HTTP//host/x.htm", "http://host:80/x.htm"},
                      ResolveCase{"https://host/x", "http://host:80/x"},
                      ResolveCase{"HTTPS://Host/x", "http://host:80/x"},
                      ResolveCase{"HTTP://OTHER.Example:8080", "http://other.example:8080/"},
                      ResolveCase{"http://host:abc/x", "http://host:80/x"},
                      ResolveCase{"HTTP:page.htm", "http://host:80/dir/page.htm"},
                      ResolveCase{"http:/x.htm", "http://host:80/x.htm"},
                      ResolveCase{"sub\\pic.gif", "http://host:80/dir/sub/pic.gif"},
                      ResolveCase{"http://other\\dir\\x.htm", "http://other:80/dir/x.htm"},
                      ResolveCase{"/rfc/HTTP/1.0/intro.htm",
                                  "http://host:80/rfc/HTTP/1.0/intro.htm"},
                      ResolveCase{"a/./b", "http://host:80/dir/a/b"},
                      ResolveCase{"a/././b/./c", "http://host:80/dir/a/b/c"},
                      ResolveCase{"a/b/../c", "http://host:80/dir/a/c"},
                      ResolveCase{"a/b/../../c", "http://host:80/dir/c"},
                      ResolveCase{"../up.htm", "http://host:80/up.htm"},
                      // Climbing above the root stays on the host.
                      ResolveCase{"../../../x.htm", "http://host:80/x.htm"},
                      ResolveCase{"/../x.htm", "http://host:80/x.htm"},
                      // Other schemes are not rebuilt, but their dot segments go.
                      ResolveCase{"ftp://Host/a/../b", "ftp://Host/b"},
                      ResolveCase{"gopher://Host/x", "gopher://Host/x"}));

TEST(ResolveLink, RootLinkWithBaseWithoutSlashUsesWholeBase) {
    EXPECT_EQ(ResolveLink("/x.htm", "host:8080"), "http://host:8080/x.htm");
}

TEST(ResolveLink, KeepsALongLinkWhole) {
    const std::string base = "host:80/" + std::string(200, 'd') + "/";
    const std::string link = std::string(100, 'p') + "/../" + std::string(100, 'q');
    EXPECT_EQ(ResolveLink(link, base), "http://" + base + std::string(100, 'q'));
}

}  // namespace
}  // namespace arkivo
