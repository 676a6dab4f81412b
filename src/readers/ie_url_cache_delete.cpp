#include "readers/ie_url_cache_delete.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"
#include "readers/ie_index_edit.h"
#include "readers/ie_url_cache.h"

namespace arkivo {

Status UrlCacheEditor::Open(const std::string& cache) {
    *this = UrlCacheEditor();
    if (Status status = LoadUrlCacheIndex(cache, paths_, bytes_, index_); !status.ok()) {
        return status;
    }
    if (!index_.IsSound()) {
        return Status::Error(StatusCode::Refused, "The cache index " + paths_.IndexPath +
                                                      " is damaged (" + index_.Damage.front() +
                                                      "); nothing was deleted");
    }
    for (std::size_t i = 0; i < index_.Urls.size(); ++i) {
        byLocation_.emplace(index_.Urls[i].Location, i);
    }
    files_.emplace(paths_.CacheDirectory);
    return Status::Ok();
}

Status UrlCacheEditor::Delete(std::string_view sourceUrl) {
    const auto found = byLocation_.find(std::string(sourceUrl));
    if (found == byLocation_.end()) {
        return Status::Error(StatusCode::NotFound, "No cache entry for " + std::string(sourceUrl));
    }
    const IeUrlRecord& record = index_.Urls[found->second];
    if (record.SlotFlags == ie_index::SlotUrlLocked) {
        return Status::Error(StatusCode::Refused,
                             "The cache entry is in use: " + std::string(sourceUrl));
    }
    std::string file;
    if (Status status = files_->EntryToRemove(index_, record, file); !status.ok()) {
        return status;
    }
    bool leaked = false;
    if (!file.empty() && ::unlink(file.c_str()) != 0 && errno != ENOENT) {
        if (errno != EACCES && errno != EPERM && errno != EBUSY) {
            return Status::Error(StatusCode::WriteFailed,
                                 "Cannot remove " + file + ": " + std::strerror(errno));
        }
        leaked = true;
    }
    if (leaked) {
        LeakUrlRecord(bytes_, record);
    } else {
        FreeUrlRecord(bytes_, record);
    }
    byLocation_.erase(found);
    changed_ = true;
    return Status::Ok();
}

Status UrlCacheEditor::Save() {
    if (!changed_) {
        return Status::Ok();
    }
    if (Status status = WriteFileAtomically(paths_.IndexPath, bytes_); !status.ok()) {
        return status;
    }
    changed_ = false;
    return Status::Ok();
}

Status DeleteUrlCacheEntry(const std::string& cache, std::string_view sourceUrl) {
    UrlCacheEditor editor;
    Status status = editor.Open(cache);
    if (status.ok()) {
        status = editor.Delete(sourceUrl);
    }
    if (status.ok()) {
        status = editor.Save();
    }
    return status;
}

}  // namespace arkivo
