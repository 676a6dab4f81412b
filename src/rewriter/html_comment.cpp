#include "rewriter/html_comment.h"

namespace arkivo {

std::size_t CommentEnd(std::string_view page, std::size_t from, bool& commentSwitch) {
    if (commentSwitch) {
        const std::size_t close = page.find("-->", from);
        if (close != std::string_view::npos) {
            return close + 3;
        }
        commentSwitch = false;
    }
    const std::size_t gt = page.find('>', from);
    return gt == std::string_view::npos ? page.size() : gt + 1;
}

}  // namespace arkivo
