#include "offline_index/html_text.h"

#include <gtest/gtest.h>

#include "archive/link_text.h"

namespace arkivo {
namespace {

struct EscapeCase {
    std::string_view input;
    std::string_view script;
    std::string_view attribute;
    std::string_view element;
    std::string_view link;
};

// Plain text must pass unchanged; each special character is handled where it can
// break out of its context.
constexpr EscapeCase EscapeCases[] = {
    {"http://host/docs/page.htm", "http://host/docs/page.htm", "http://host/docs/page.htm",
     "http://host/docs/page.htm", "http%3A//host/docs/page.htm"},
    {"image/photo.jpg", "image/photo.jpg", "image/photo.jpg", "image/photo.jpg", "image/photo.jpg"},
    {"a'b", "a\\'b", "a&#39;b", "a'b", "a%27b"},
    {"a\"b", "a&quot;b", "a&quot;b", "a\"b", "a%22b"},
    {"<b>", "&lt;b&gt;", "&lt;b&gt;", "&lt;b&gt;", "%3Cb%3E"},
    {"a\\b", "a\\\\b", "a\\b", "a\\b", "a%5Cb"},
    {"q?x=1&y=2", "q?x=1&y=2", "q?x=1&y=2", "q?x=1&y=2", "q%3Fx%3D1%26y%3D2"},
    {"a#b%c d", "a#b%c d", "a#b%c d", "a#b%c d", "a%23b%25c%20d"},
    {"line\r\nend", "line\\x0D\\x0Aend", "line\r\nend", "line\r\nend", "line%0D%0Aend"},
    {"caf\xE9", "caf\xE9", "caf\xE9", "caf\xE9", "caf%E9"},
    {"(x)!~{y}@$*+,;:_-.", "(x)!~{y}@$*+,;:_-.", "(x)!~{y}@$*+,;:_-.", "(x)!~{y}@$*+,;:_-.",
     "(x)!~{y}@$*+,;%3A_-."},
    {"", "", "", "", ""},
};

TEST(IndexHtml, EscapesEachContext) {
    for (const EscapeCase& c : EscapeCases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(ScriptStringText(c.input), c.script);
        EXPECT_EQ(AttributeText(c.input), c.attribute);
        EXPECT_EQ(ElementText(c.input), c.element);
        EXPECT_EQ(LinkText(c.input), c.link);
    }
}

TEST(IndexHtml, AppendLineEndsWithCrLf) {
    std::string page;
    AppendLine(page, "<HTML>");
    AppendLine(page, "");
    EXPECT_EQ(page, "<HTML>\r\n\r\n");
}

}  // namespace
}  // namespace arkivo
