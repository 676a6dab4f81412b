#include "model/item_building.h"

#include "model/content_types.h"
#include "model/url.h"

namespace arkivo {

TCacheItem* BuildCacheItem(Edition edition, const CacheEntry& entry, TCacheItemList& items) {
    auto item = std::make_unique<TCacheItem>();
    item->Date = entry.Date;

    std::string text(entry.Url);
    std::string host;
    int port = DefaultPort;
    std::string path;
    if (edition == Edition::Nav) {
        host = SplitHostShort(text);
        port = SplitPortShort(text);
        path = SplitPathShort(text);
    } else {
        host = SplitHost(text);
        port = SplitPort(text);
        path = SplitPath(text);
    }
    const std::string portText = std::to_string(port);
    item->Url.reserve(7 + host.size() + 1 + portText.size() + path.size());
    item->Url.append("http://").append(host).append(1, ':').append(portText).append(path);

    const std::string contentType = LowerCase(entry.ContentType);
    item->Kind = ContentCodeOf(contentType);
    item->Group = ContentGroupOf(contentType);
    item->CacheFile = entry.CacheFile;
    item->CacheDirLength = entry.CacheDirLength;
    item->CacheKey = entry.CacheKey;
    item->Origin = entry.Origin;
    item->Domain = FileNameSafe(host);

    if (item->Domain == NoHost || !entry.CacheFileExists) {
        return nullptr;
    }
    items.push_back(std::move(item));
    return items.back().get();
}

}  // namespace arkivo
