#include "search/archive_search.h"

#include <optional>

#include "archive/archive_info.h"
#include "archive/archive_layout.h"
#include "archive/archive_types.h"
#include "model/cache_item.h"
#include "model/url.h"
#include "platform/rooted_files.h"
#include "search/search_input.h"
#include "search/text_search.h"

namespace arkivo {
namespace {

constexpr int HtmlContentCode = 1;  // "text/html"

enum class RecordTest { Hit, Miss, Unreadable };

class ArchiveSearch {
  public:
    explicit ArchiveSearch(const SearchRequest& request)
        : directory_(SearchDirectoryOf(request.Directory)),
          urlText_(SearchTextOf(request.UrlText)),
          pageText_(SearchTextOf(request.PageText)) {}

    const std::string& Directory() const { return directory_; }

    // The item's hit row in hit, or why it is none.
    RecordTest Test(TCacheItem& item, SearchHit& hit) const {
        std::string url = item.Url;
        item.Domain = FileNameSafe(SplitHost(url));
        const std::optional<std::string> path = ArchivePathOf(directory_, item);
        if (!path) {
            return RecordTest::Miss;
        }
        hit.Url = CanonicalUrlShort(item.Url);
        if (!urlText_.empty() && LowerCase(hit.Url).find(urlText_) == std::string::npos) {
            return RecordTest::Miss;
        }
        // Only an archived copy that is there is a hit. A page searched for text is
        // looked up once, by opening it; only when that fails is it asked whether
        // the page is missing (a miss) or there but unreadable.
        if (pageText_.empty()) {
            if (!IsFileBeneath(directory_, *path)) {
                return RecordTest::Miss;
            }
        } else {
            if (item.Kind != HtmlContentCode) {
                return RecordTest::Miss;
            }
            switch (SearchTextInFile(pageText_, directory_, *path)) {
                case TextSearchResult::Found:
                    break;
                case TextSearchResult::NotFound:
                    return RecordTest::Miss;
                case TextSearchResult::Unreadable:
                    return IsFileBeneath(directory_, *path) ? RecordTest::Unreadable
                                                            : RecordTest::Miss;
            }
        }
        hit.Class = FileClassOf(item.Kind);
        hit.File = *path;
        return RecordTest::Hit;
    }

  private:
    std::string directory_;
    std::string urlText_;
    std::string pageText_;
};

}  // namespace

SearchOutcome SearchArchive(const SearchRequest& request, const SearchCallbacks& callbacks) {
    const ArchiveSearch search(request);
    SearchOutcome outcome;
    try {
        const std::string infoPath = search.Directory() + std::string(ArchiveInfoFileName);
        TSimpleBufferFileStream stream(OpenRegularFileBeneath(search.Directory(), infoPath),
                                       infoPath);
        TArchiveTypes types(search.Directory());
        TCacheItem item;
        while (!item.LoadFromStream(stream)) {
            item.Kind = types.CodeOf(item.Kind);
            SearchHit hit;
            switch (search.Test(item, hit)) {
                case RecordTest::Hit:
                    ++outcome.HitCount;
                    if (callbacks.HitFound) {
                        callbacks.HitFound(hit);
                    }
                    break;
                case RecordTest::Miss:
                    break;
                case RecordTest::Unreadable:
                    outcome.End = SearchEnd::Failed;
                    return outcome;
            }
            if (callbacks.ProcessPendingMessages) {
                callbacks.ProcessPendingMessages();
            }
            if (callbacks.StopRequested && callbacks.StopRequested()) {
                outcome.End = SearchEnd::Stopped;
                return outcome;
            }
        }
    } catch (const StreamError&) {
        // Only archive.dat is read through a stream here: pages are searched apart.
        outcome.End = SearchEnd::ArchiveInfoUnreadable;
    }
    return outcome;
}

}  // namespace arkivo
