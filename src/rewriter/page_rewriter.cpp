#include "rewriter/page_rewriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "archive/archive_layout.h"
#include "model/file_utils.h"
#include "platform/file_system.h"
#include "platform/rooted_files.h"
#include "platform/unique_fd.h"
#include "rewriter/html_comment.h"
#include "rewriter/link_resolution.h"
#include "rewriter/page_title.h"
#include "rewriter/tag_rewriter.h"

namespace arkivo {
namespace {

// Tags this short ("B>", "/A>", "P>") carry no link.
constexpr std::size_t ShortTagLength = 8;

bool IsLinkEnd(std::string_view tagText) {
    std::size_t pos = 0;
    const std::string_view word = NextWord(tagText, pos);
    return word.size() == 2 && word[0] == '/' && (word[1] == 'A' || word[1] == 'a');
}

// The state of one page pass.
class PagePass {
  public:
    PagePass(std::string_view page, std::string_view url, const LinkOptions& options,
             const ArchiveLinkMap& map)
        : page_(page),
          options_(options),
          map_(map),
          base_(LinkBase(url)),
          growthLimit_(MaxPageGrowth + page.size()) {
        out_.reserve(page.size() + page.size() / 8 + 64);
    }

    std::string Run() {
        while (pos_ < page_.size()) {
            const std::size_t lt = page_.find('<', pos_);
            if (lt == std::string_view::npos) {
                CopyTo(page_.size());
                break;
            }
            CopyTo(lt + 1);
            if (page_.substr(pos_, 3) == "!--") {
                CopyTo(CommentEnd(page_, pos_ + 3, commentSwitch_));
            } else {
                Tag();
            }
        }
        return std::move(out_);
    }

  private:
    void CopyTo(std::size_t end) {
        out_.append(page_.substr(pos_, end - pos_));
        pos_ = end;
    }

    void Tag() {
        const std::size_t limit = std::min(MaxTagLength, page_.size() - pos_);
        const std::size_t gt = page_.substr(pos_, limit).find('>');
        tag_.assign(page_.substr(pos_, gt == std::string_view::npos ? limit : gt + 1));
        pos_ += tag_.size();
        const bool cutAtBound = tag_.size() == MaxTagLength && tag_.back() != '>';

        LinkFlags flags;
        if (tag_.size() > ShortTagLength) {
            if (out_.size() <= pos_ + growthLimit_) {
                flags = RewriteTag(tag_, base_, options_, map_);
            }
        } else {
            CloseMarkers();
        }
        out_ += tag_;
        if (options_.EmphasizeLinks && flags.ArchivedLink) {
            if (!options_.ActiveEmphasizeTag.empty()) {
                out_ += '<';
                out_ += options_.ActiveEmphasizeTag;
                out_ += '>';
            }
            emphasisOpen_ = true;
        }
        if (options_.StrikeoutLinks && flags.UnarchivedLink) {
            out_ += "<STRIKE>";
            strikeOpen_ = true;
        }
        if (cutAtBound) {
            const std::size_t end = page_.find('>', pos_);
            CopyTo(end == std::string_view::npos ? page_.size() : end + 1);
        }
    }

    // An "</A>" that ends a marked link closes the markers first:
    // "</STRIKE></B></A>" (the "<" before it is already written).
    void CloseMarkers() {
        const bool closeEmphasis = options_.EmphasizeLinks && emphasisOpen_;
        const bool closeStrike = options_.StrikeoutLinks && strikeOpen_;
        if (!(closeEmphasis || closeStrike) || !IsLinkEnd(tag_)) {
            return;
        }
        if (closeStrike) {
            out_ += "/STRIKE><";
            strikeOpen_ = false;
        }
        if (closeEmphasis) {
            if (!options_.ActiveDeEmphasizeTag.empty()) {
                out_ += options_.ActiveDeEmphasizeTag;
                out_ += "><";
            }
            emphasisOpen_ = false;
        }
    }

    std::string_view page_;
    const LinkOptions& options_;
    const ArchiveLinkMap& map_;
    std::string base_;
    std::size_t growthLimit_;
    std::size_t pos_ = 0;
    std::string out_;
    std::string tag_;
    bool commentSwitch_ = true;
    bool emphasisOpen_ = false;
    bool strikeOpen_ = false;
};

// The first LargePageTitleSpan bytes of the open page when it is larger than
// maxPageSize; nothing for a smaller page.
std::optional<std::string> HeadOfLargePage(int fd, std::size_t maxPageSize) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || static_cast<std::uint64_t>(info.st_size) <= maxPageSize) {
        return std::nullopt;
    }
    std::string head(LargePageTitleSpan, '\0');
    const ssize_t got = ::pread(fd, head.data(), head.size(), 0);
    head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return head;
}

}  // namespace

std::string RewritePageText(std::string_view page, std::string_view url, const LinkOptions& options,
                            const ArchiveLinkMap& map) {
    return PagePass(page, url, options, map).Run();
}

Status RewritePage(TCacheItem& item, const std::string& archiveDir, const LinkOptions& options,
                   const ArchiveLinkMap& map, std::size_t maxPageSize, bool* copiedUnchanged) {
    const std::optional<std::string> target = ArchivePathOf(archiveDir, item);
    if (!target) {
        return Status::Error(StatusCode::Refused, "no safe archive path for " + item.Url);
    }
    UniqueFd cached(OpenCachedFile(item));
    if (!cached.Valid()) {
        return Status::Error(errno == ENOENT ? StatusCode::NotFound : StatusCode::Unreadable,
                             "cannot read " + item.CacheFile + ": " + std::strerror(errno));
    }
    if (const std::optional<std::string> head = HeadOfLargePage(cached.Get(), maxPageSize)) {
        if (Status copied = CopyFileBeneath(cached.Get(), archiveDir, *target); !copied.ok()) {
            return copied;
        }
        item.Title = ExtractTitle(*head);
        if (copiedUnchanged != nullptr) {
            *copiedUnchanged = true;
        }
        return Status::Ok();
    }
    const std::optional<std::string> page = ReadAndClose(cached.Release());
    if (!page) {
        return Status::Error(StatusCode::Unreadable,
                             "cannot read " + item.CacheFile + ": " + std::strerror(errno));
    }
    item.Title = ExtractTitle(*page);
    // Through a temporary file, so a failed write never destroys an earlier copy.
    return WriteFileBeneath(archiveDir, *target, RewritePageText(*page, item.Url, options, map),
                            ReplaceOptions{Durability::Unsynced, {}, {}});
}

}  // namespace arkivo
