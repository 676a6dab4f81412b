#include "rewriter/page_title.h"

#include <algorithm>

#include "model/url.h"
#include "rewriter/html_comment.h"

namespace arkivo {
namespace {

constexpr std::size_t TagNameLookedAt = 15;

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string ReadTitle(std::string_view page, std::size_t pos) {
    std::string title;
    for (; pos < page.size() && page[pos] != '<' && title.size() < MaxTitleLength; ++pos) {
        if (static_cast<unsigned char>(page[pos]) > 0x0D) {
            title += page[pos];
        }
    }
    return std::string(Trim(title));
}

}  // namespace

std::string ExtractTitle(std::string_view page) {
    bool commentSwitch = true;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t lt = page.find('<', pos);
        if (lt == std::string_view::npos) {
            return {};
        }
        pos = lt + 1;
        if (page.substr(pos, 3) == "!--") {
            pos = CommentEnd(page, pos + 3, commentSwitch);
            continue;
        }
        const std::size_t gt = page.find('>', pos);
        const std::size_t end = gt == std::string_view::npos ? page.size() : gt + 1;
        const std::string_view name = Trim(page.substr(pos, std::min(end - pos, TagNameLookedAt)));
        pos = end;
        if (name.size() >= 5 && UpperCase(name.substr(0, 5)) == "TITLE") {
            return ReadTitle(page, pos);
        }
    }
}

}  // namespace arkivo
