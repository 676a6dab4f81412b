#include "explorer/cache_deletion.h"

#include <unistd.h>

#include <cerrno>

#include "readers/ie_url_cache_delete.h"

namespace arkivo {
namespace {

// ArkivoNav: the cached file is the whole entry.
class CachedFileDeleter : public CacheEntryDeleter {
  public:
    bool Delete(const TCacheItem& item) override {
        return ::unlink(item.CacheFile.c_str()) == 0 || errno == ENOENT;
    }
    Status Finish() override { return Status::Ok(); }
};

// ArkivoIE: entries leave index.dat, which is rewritten once at the end.
class UrlCacheEntryDeleter : public CacheEntryDeleter {
  public:
    explicit UrlCacheEntryDeleter(const std::string& cache) : opened_(editor_.Open(cache)) {}

    bool Delete(const TCacheItem& item) override {
        if (!opened_.ok()) {
            return false;
        }
        const Status status = editor_.Delete(item.CacheKey);
        return status.ok() || status.code() == StatusCode::NotFound;
    }

    Status Finish() override { return opened_.ok() ? editor_.Save() : opened_; }

  private:
    UrlCacheEditor editor_;
    Status opened_;
};

}  // namespace

std::string DeleteQuestion(bool allAges, const DomainGrouping& grouping,
                           const TypeSwitches& switches) {
    const GroupCounts counts = grouping.CountSelection();
    const bool wholeCache =
        allAges && grouping.SrcList().Count() == 0 &&
        counts.Text + counts.Media + counts.Other == grouping.ChosenCount(switches);
    return wholeCache ? DeleteWholeCacheQuestionText : DeleteQuestionText;
}

std::unique_ptr<CacheEntryDeleter> MakeCacheEntryDeleter(Edition edition,
                                                         const std::string& cache) {
    if (edition == Edition::IE) {
        return std::make_unique<UrlCacheEntryDeleter>(cache);
    }
    return std::make_unique<CachedFileDeleter>();
}

DeletionResult DeleteChosenItems(TCacheItemList& items, const DomainGrouping& grouping,
                                 const TypeSwitches& switches, CacheEntryDeleter& deleter) {
    DeletionResult result;
    std::erase_if(items, [&](const std::unique_ptr<TCacheItem>& item) {
        if (!grouping.IsChosen(*item, switches)) {
            return false;
        }
        if (deleter.Delete(*item)) {
            ++result.Deleted;
            return true;
        }
        ++result.NotDeleted;
        return false;
    });
    result.Outcome = deleter.Finish();
    return result;
}

}  // namespace arkivo
