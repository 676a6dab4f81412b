#include "readers/ie_url_cache_delete.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <unordered_set>

#include "model/url.h"
#include "platform/file_system.h"
#include "platform/rooted_files.h"
#include "readers/ie_index_edit.h"
#include "readers/ie_url_cache.h"

namespace arkivo {
namespace {

// A record's file as the cache looks it up: its directory and its name in any case.
std::string FileKey(const IeUrlRecord& record) {
    return std::to_string(record.DirectoryIndex) + "/" + LowerCase(record.FileName);
}

// True when path is the cache index itself (a record in the cache directory may name
// it): removing it would leave the cache without an index until the next write.
bool IsIndexFile(const std::string& path, const std::string& indexPath) {
    struct stat file {};
    struct stat index {};
    return !path.empty() && ::lstat(path.c_str(), &file) == 0 &&
           ::stat(indexPath.c_str(), &index) == 0 && file.st_dev == index.st_dev &&
           file.st_ino == index.st_ino;
}

std::vector<std::uint32_t> UrlOffsets(const IeIndex& index) {
    std::vector<std::uint32_t> offsets;
    for (const IeUrlRecord& url : index.Urls) {
        offsets.push_back(url.Offset);
    }
    return offsets;
}

// Parses an edited index into next and checks that it says what the edit meant: a
// sound index listing the given URL records and LEAK chain. The reader's checks are
// what makes an edit safe; this catches any layout they let through that an edit
// would still damage, before the edited index is written.
Status CheckEdit(const std::string& bytes, const std::vector<std::uint32_t>& urls,
                 const std::vector<std::uint32_t>& leakChain, IeIndex& next) {
    if (!ParseIndexFile(bytes, next).ok() || !next.IsSound() || UrlOffsets(next) != urls ||
        next.LeakChain != leakChain) {
        return Status::Error(
            StatusCode::Refused,
            "The cache index would not read back as the edit meant" +
                (next.Damage.empty() ? std::string() : " (" + next.Damage.front() + ")"));
    }
    return Status::Ok();
}

}  // namespace

UrlCacheEditor::UrlCacheEditor(UrlCacheDeleteHooks hooks) : hooks_(std::move(hooks)) {}

UrlCacheEditor::~UrlCacheEditor() {
    Unlock();
}

void UrlCacheEditor::Unlock() {
    if (lock_ >= 0) {
        ::close(lock_);  // releases the lock
        lock_ = -1;
    }
}

Status UrlCacheEditor::Open(const std::string& cache) {
    Unlock();
    paths_ = {};
    bytes_.clear();
    index_ = {};
    byLocation_.clear();
    files_.reset();
    chosen_.clear();
    if (Status status = ResolveIeCache(cache, paths_); !status.ok()) {
        return status;
    }
    // The directory, not index.dat, carries the lock: each write replaces index.dat.
    const int directory = ::open(paths_.CacheDirectory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) {
        return Status::Error(StatusCode::Unreadable,
                             "Cannot open " + paths_.CacheDirectory + ": " + std::strerror(errno));
    }
    if (::flock(directory, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(directory);
        return Status::Error(error == EWOULDBLOCK ? StatusCode::Refused : StatusCode::Unreadable,
                             "Cannot lock " + paths_.CacheDirectory + ": " +
                                 (error == EWOULDBLOCK ? std::string("another delete is running")
                                                       : std::strerror(error)) +
                                 "; nothing was deleted");
    }
    lock_ = directory;
    // Read once the lock is held, so that no other run changes it before we write.
    const std::string indexPath = paths_.IndexPath;
    if (Status status = LoadUrlCacheIndex(indexPath, paths_, bytes_, index_); !status.ok()) {
        Unlock();
        return status;
    }
    if (!index_.IsSound()) {
        Unlock();
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

Status UrlCacheEditor::Choose(std::string_view sourceUrl) {
    const auto found = byLocation_.find(std::string(sourceUrl));
    if (found == byLocation_.end()) {
        return Status::Error(StatusCode::NotFound, "No cache entry for " + std::string(sourceUrl));
    }
    const IeUrlRecord& record = index_.Urls[found->second];
    if (!record.Damage.empty()) {
        return Status::Error(StatusCode::Refused, "The cache entry " + std::string(sourceUrl) +
                                                      " is damaged (" + record.Damage +
                                                      "); it was not deleted");
    }
    if (record.SlotFlags == ie_index::SlotUrlLocked) {
        return Status::Error(StatusCode::Refused,
                             "The cache entry is in use: " + std::string(sourceUrl));
    }
    std::string file;
    if (Status status = files_->EntryToRemove(index_, record, file); !status.ok()) {
        return status;
    }
    chosen_.push_back({record, std::move(file)});
    byLocation_.erase(found);
    return Status::Ok();
}

Status UrlCacheEditor::WriteIndex(const std::string& bytes) {
    return hooks_.ReplaceIndex ? hooks_.ReplaceIndex(paths_.IndexPath, bytes)
                               : WriteFileAtomically(paths_.IndexPath, bytes);
}

bool UrlCacheEditor::RemoveFile(const std::string& path) {
    if (path.empty()) {
        return true;
    }
    // Beneath the cache directory: a folder swapped for a link after the entries were
    // checked still cannot lead the removal out of the cache.
    const int error = hooks_.RemoveFile ? hooks_.RemoveFile(path)
                                        : RemoveFileBeneath(paths_.CacheDirectory, path);
    return error == 0 || error == ENOENT;
}

UrlCacheDeletion UrlCacheEditor::Run() {
    using enum UrlCacheEntryState;
    UrlCacheDeletion result;
    result.States.assign(chosen_.size(), NotDeleted);
    if (lock_ < 0) {
        result.Outcome =
            Status::Error(StatusCode::Refused, "No cache index is open; nothing was deleted");
        return result;
    }
    result.EarlierMarked = index_.LeakChain.size();

    // Step 1: the chosen entries leave the listing, their records kept as LEAK.
    std::unordered_set<std::uint32_t> chosenRecords;
    if (!chosen_.empty()) {
        std::string marked = bytes_;
        std::vector<std::uint32_t> leakChain = index_.LeakChain;
        for (const ChosenEntry& entry : chosen_) {
            LeakUrlRecord(marked, entry.Record);
            chosenRecords.insert(entry.Record.Offset);
            leakChain.insert(leakChain.begin(), entry.Record.Offset);
        }
        std::vector<std::uint32_t> listed = UrlOffsets(index_);
        std::erase_if(listed, [&](std::uint32_t offset) { return chosenRecords.contains(offset); });
        IeIndex next;
        Status status = CheckEdit(marked, listed, leakChain, next);
        if (status.ok()) {
            status = WriteIndex(marked);
        }
        if (!status.ok()) {
            result.Outcome =
                Status::Error(status.code(), status.message() + "; nothing was deleted");
            Unlock();
            return result;
        }
        bytes_ = std::move(marked);
        index_ = std::move(next);  // its LEAK chain now holds the chosen records
    }

    // Step 2: remove the files of the chosen entries and of the earlier LEAK records,
    // but never one a listed entry names (Internet Explorer gives the name of a file
    // that went missing to a new entry), nor the index itself.
    std::unordered_set<std::string> listedFiles;
    for (const IeUrlRecord& url : index_.Urls) {
        if (!url.FileName.empty()) {
            listedFiles.insert(FileKey(url));
        }
    }
    const auto fileGone = [&](const IeUrlRecord& record, const std::string& path) {
        return listedFiles.contains(FileKey(record)) || IsIndexFile(path, paths_.IndexPath) ||
               RemoveFile(path);
    };
    std::unordered_set<std::uint32_t> gone;
    for (std::size_t i = 0; i < chosen_.size(); ++i) {
        const bool removed = fileGone(chosen_[i].Record, chosen_[i].File);
        result.States[i] = removed ? Deleted : MarkedForDeletion;
        if (removed) {
            gone.insert(chosen_[i].Record.Offset);
        }
    }
    for (const IeUrlRecord& leak : index_.Leaks) {
        std::string file;
        if (!chosenRecords.contains(leak.Offset) &&
            files_->EntryToRemove(index_, leak, file).ok() && fileGone(leak, file)) {
            gone.insert(leak.Offset);
            ++result.EarlierDeleted;
            --result.EarlierMarked;
        }
    }

    // Step 3: free the records whose file is gone.
    if (!gone.empty()) {
        std::string freed = bytes_;
        FreeLeakRecords(freed, index_, gone);
        std::vector<std::uint32_t> leakChain = index_.LeakChain;
        std::erase_if(leakChain, [&](std::uint32_t offset) { return gone.contains(offset); });
        IeIndex next;
        Status status = CheckEdit(freed, UrlOffsets(index_), leakChain, next);
        if (status.ok()) {
            status = WriteIndex(freed);
        }
        if (!status.ok()) {
            result.Outcome = Status::Error(
                status.code(), status.message() +
                                   "; the index clean-up is pending: the deleted entries stay "
                                   "marked for deletion until the next delete run");
        } else {
            bytes_ = std::move(freed);
        }
    }
    Unlock();
    return result;
}

Status DeleteUrlCacheEntry(const std::string& cache, std::string_view sourceUrl,
                           const UrlCacheDeleteHooks& hooks) {
    UrlCacheEditor editor(hooks);
    if (Status status = editor.Open(cache); !status.ok()) {
        return status;
    }
    if (Status status = editor.Choose(sourceUrl); !status.ok()) {
        return status;
    }
    const UrlCacheDeletion run = editor.Run();
    if (!run.Outcome.ok()) {
        return run.Outcome;
    }
    if (run.States.front() != UrlCacheEntryState::Deleted) {
        return Status::Error(StatusCode::WriteFailed,
                             "The cached file of " + std::string(sourceUrl) +
                                 " cannot be removed; its entry is marked for deletion");
    }
    return Status::Ok();
}

}  // namespace arkivo
