#include "sources.h"

#include "readers/ie_cache_location.h"
#include "readers/ie_cache_reader.h"
#include "readers/netscape_index.h"
#include "readers/netscape_location.h"
#include "shell/program_settings.h"
#include "shell/settings_store.h"

namespace arkivo::cli {
namespace {

// A file that is no cache index is an input that cannot be read.
Status UnreadableIfMalformed(Status status) {
    if (status.code() == StatusCode::Malformed) {
        return Status::Error(StatusCode::Unreadable, status.message());
    }
    return status;
}

// The index named on the command line, else the stored "FAT Path", else the one
// Navigator's registry values lead to.
std::string NetscapeIndexPath(const std::string& named) {
    if (!named.empty()) {
        return named;
    }
    const std::string stored = SettingsStore().ReadString("Browser options", "FAT Path", "");
    return stored.empty() ? FindCacheIndex() : stored;
}

Status ReadNetscapeCache(const std::string& named, TCacheItemList& items) {
    const std::string path = NetscapeIndexPath(named);
    if (path.empty()) {
        return Status::Error(StatusCode::NotFound,
                             "no Netscape cache index found; name one with --nav INDEX");
    }
    const CacheIndexRead read = ReadCacheIndex(path, items);
    if (!read.Opened) {
        return Status::Error(StatusCode::Unreadable, "cannot open the cache index " + path);
    }
    return UnreadableIfMalformed(read.Error);
}

// The cache named on the command line, else ARKIVO_IE_CACHE, else the stored
// "IE cache folder", else the Wine profile's.
Status ReadInternetExplorerCache(const std::string& named, TCacheItemList& items) {
    Status status;
    ReadUrlCache(named.empty() ? DefaultIeCache(StoredIeCache(SettingsStore())) : named, items,
                 &status);
    if (named.empty() && status.code() == StatusCode::NotFound) {
        return Status::Error(StatusCode::NotFound, status.message() + " Name one with --ie CACHE.");
    }
    return UnreadableIfMalformed(status);
}

}  // namespace

Edition EditionOf(SourceKind kind) {
    return kind == SourceKind::IE ? Edition::IE : Edition::Nav;
}

Status ReadSource(const SourceChoice& source, TCacheItemList& items) {
    switch (source.Kind) {
        case SourceKind::Nav:
            return ReadNetscapeCache(source.Path, items);
        case SourceKind::IE:
            return ReadInternetExplorerCache(source.Path, items);
        case SourceKind::None:
            break;
    }
    return Status::Error(StatusCode::Refused, "no source chosen");
}

}  // namespace arkivo::cli
