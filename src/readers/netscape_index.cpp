#include "readers/netscape_index.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "model/item_building.h"
#include "model/url.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "readers/netscape_cached_file.h"
#include "readers/netscape_db_file.h"
#include "readers/netscape_text_index.h"

namespace arkivo {
namespace {

constexpr double OldestEntryAge = 5000.0;  // days

void AddItem(CachedFileResolver& files, const std::string& indexPath, const NetscapeEntry& entry,
             TCacheItemList& items) {
    CacheEntry cacheEntry;
    FoundFile file = files.FileOf(entry.FileName);
    if (file.Path.empty()) {
        return;
    }
    entry.Origin->IndexFile = indexPath;
    cacheEntry.Origin = entry.Origin;
    cacheEntry.CacheFile = std::move(file.Path);
    cacheEntry.CacheFileExists = file.IsFile;
    cacheEntry.CacheDirLength = files.IndexDir().size();
    cacheEntry.Url = entry.Url;
    cacheEntry.ContentType = entry.ContentType;
    cacheEntry.Date = SecondsToDate(entry.Time);
    BuildCacheItem(Edition::Nav, cacheEntry, items);
}

// Opens the index; false when it cannot be opened as a regular file.
bool OpenIndex(const std::string& path, int& fd) {
    fd = OpenRegularFile(path);
    return fd >= 0;
}

Status ReadAll(int fd, const std::string& path, std::string& bytes) {
    if (!ReadRest(fd, bytes)) {
        return Status::Error(StatusCode::Unreadable,
                             "Cannot read " + path + ": " + std::strerror(errno));
    }
    return Status::Ok();
}

}  // namespace

bool IsTextIndex(std::string_view indexBytes) {
    const std::string_view firstLine = indexBytes.substr(0, indexBytes.find_first_of("\r\n"));
    const std::string signature = UpperCase(firstLine.substr(0, 10));
    return signature == "MCOM-CACHE" || signature == "MOSAIC-COM";
}

double SecondsToDate(std::int32_t seconds) {
    const double date = seconds / 86400.0 + UnixEpochDate;
    const double now = Now();
    if (date > now) {
        return now;
    }
    if (date < now - OldestEntryAge) {
        return now - OldestEntryAge;
    }
    return date;
}

CacheIndexRead ReadCacheIndex(const std::string& indexPath, TCacheItemList& items,
                              const std::function<void()>& handlePendingMessages) {
    CacheIndexRead result;
    int fd = -1;
    if (!OpenIndex(indexPath, fd)) {
        TheDialogs().ShowMessage(DialogMessage{std::string(CloseNetscapeWarning),
                                               DialogIcon::Warning, DialogButtons::Ok, 0});
        return result;
    }
    result.Opened = true;
    std::string bytes;
    result.Error = ReadAll(fd, indexPath, bytes);
    ::close(fd);
    if (!result.Error.ok()) {
        return result;
    }

    CachedFileResolver files(DirectoryPart(indexPath));
    if (IsTextIndex(bytes)) {
        ReadTextIndex(
            bytes, [&](const NetscapeEntry& entry) { AddItem(files, indexPath, entry, items); },
            handlePendingMessages);
        return result;
    }
    bool anyEntry = false;
    for (const DbPair& pair : ReadDbPairs(bytes, handlePendingMessages)) {
        if (const auto entry = ParseCacheEntry(pair.Key, pair.Data)) {
            entry->Origin->RecordOffset = pair.DataOffset;
            AddItem(files, indexPath, *entry, items);
            anyEntry = true;
        }
    }
    // A damaged FAT.DB without its header still gives entries; a file that gives
    // none and has no header is no cache index at all.
    if (!anyEntry && !ReadHashHeader(bytes)) {
        result.Error = Status::Error(StatusCode::Malformed,
                                     indexPath + " is not a Netscape cache index (FAT or FAT.DB).");
    }
    return result;
}

}  // namespace arkivo
