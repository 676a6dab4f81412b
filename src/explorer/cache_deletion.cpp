#include "explorer/cache_deletion.h"

#include <cerrno>
#include <cstring>
#include <unordered_set>

#include "platform/rooted_files.h"

namespace arkivo {
namespace {

// ArkivoNav: the cached file is the whole entry, deleted once the file is gone.
class CachedFileDeleter : public CacheEntryDeleter {
  public:
    std::vector<ItemDeletion> Delete(const std::vector<const TCacheItem*>& items,
                                     DeletionResult& result) override {
        std::vector<ItemDeletion> states;
        for (const TCacheItem* item : items) {
            // Never through a link out of the cache: a linked folder would let an
            // index entry delete files anywhere.
            const int removed = RemoveFileBeneath(CacheDirOf(*item), item->CacheFile);
            const bool gone = removed == 0 || removed == ENOENT;
            if (!gone && result.FirstRefusal.empty()) {
                result.FirstRefusal = item->CacheFile + ": " + std::strerror(removed);
            }
            states.push_back(gone ? ItemDeletion::Deleted : ItemDeletion::NotDeleted);
        }
        return states;
    }
};

ItemDeletion StateOf(UrlCacheEntryState state) {
    switch (state) {
        case UrlCacheEntryState::Deleted:
            return ItemDeletion::Deleted;
        case UrlCacheEntryState::MarkedForDeletion:
            return ItemDeletion::MarkedForDeletion;
        case UrlCacheEntryState::NotDeleted:
            break;
    }
    return ItemDeletion::NotDeleted;
}

// ArkivoIE: entries leave index.dat in one delete run.
class UrlCacheEntryDeleter : public CacheEntryDeleter {
  public:
    UrlCacheEntryDeleter(std::string cache, UrlCacheDeleteHooks hooks)
        : cache_(std::move(cache)), hooks_(std::move(hooks)) {}

    std::vector<ItemDeletion> Delete(const std::vector<const TCacheItem*>& items,
                                     DeletionResult& result) override {
        std::vector<ItemDeletion> states(items.size(), ItemDeletion::NotDeleted);
        UrlCacheEditor editor(hooks_);
        result.Outcome = editor.Open(cache_);
        if (!result.Outcome.ok()) {
            return states;
        }
        std::vector<std::size_t> chosen;  // the items whose entries the run deletes
        for (std::size_t i = 0; i < items.size(); ++i) {
            const Status status = editor.Choose(items[i]->CacheKey);
            if (status.ok()) {
                chosen.push_back(i);
            } else if (status.code() == StatusCode::NotFound) {
                states[i] = ItemDeletion::Deleted;  // no longer in the cache
            } else if (result.FirstRefusal.empty()) {
                result.FirstRefusal = status.message();
            }
        }
        const UrlCacheDeletion run = editor.Run();
        for (std::size_t k = 0; k < chosen.size(); ++k) {
            states[chosen[k]] = StateOf(run.States[k]);
        }
        result.EarlierDeleted = run.EarlierDeleted;
        result.EarlierMarked = run.EarlierMarked;
        result.Outcome = run.Outcome;
        return states;
    }

  private:
    std::string cache_;
    UrlCacheDeleteHooks hooks_;
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

std::unique_ptr<CacheEntryDeleter> MakeCacheEntryDeleter(Edition edition, const std::string& cache,
                                                         UrlCacheDeleteHooks hooks) {
    if (edition == Edition::IE) {
        return std::make_unique<UrlCacheEntryDeleter>(cache, std::move(hooks));
    }
    return std::make_unique<CachedFileDeleter>();
}

DeletionResult DeleteChosenItems(TCacheItemList& items, const DomainGrouping& grouping,
                                 const TypeSwitches& switches, CacheEntryDeleter& deleter) {
    std::vector<const TCacheItem*> chosen;
    for (const auto& item : items) {
        if (grouping.IsChosen(*item, switches)) {
            chosen.push_back(item.get());
        }
    }
    DeletionResult result;
    const std::vector<ItemDeletion> states = deleter.Delete(chosen, result);
    std::unordered_set<const TCacheItem*> leaving;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        switch (states[i]) {
            case ItemDeletion::Deleted:
                ++result.Deleted;
                leaving.insert(chosen[i]);
                break;
            case ItemDeletion::MarkedForDeletion:
                ++result.MarkedForDeletion;
                leaving.insert(chosen[i]);
                break;
            case ItemDeletion::NotDeleted:
                ++result.NotDeleted;
                break;
        }
    }
    std::erase_if(items, [&](const std::unique_ptr<TCacheItem>& item) {
        return leaving.contains(item.get());
    });
    return result;
}

}  // namespace arkivo
