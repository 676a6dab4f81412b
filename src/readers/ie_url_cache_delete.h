#pragma once
// Deleting entries from an Internet Explorer cache (WinINet's DeleteUrlCacheEntry).
//
// A delete run takes three steps, so that every entry ends in a state the index
// tells honestly even when writing the index fails:
//   1. the index is written with every chosen entry turned into a LEAK record, an
//      entry to be deleted that is no longer listed; when this write fails nothing
//      has changed;
//   2. the cached file of every LEAK record is removed (a missing file counts as
//      removed), those of LEAK records earlier runs or Internet Explorer left too;
//   3. the index is written with the LEAK records whose file is gone freed. A record
//      whose file could not be removed stays LEAK, marked for deletion; when this
//      write fails the files are gone and the records stay LEAK until the next run.
// Each write goes to a temporary file in the cache directory, is synced and renamed
// over the old index, so a crash leaves the old or the new index, never a torn one.
// A run holds a lock on the cache directory from reading the index to its last
// write, so two runs never work from the same old index.
//
// Only a sound index is changed: any damage found while reading it refuses the
// delete before anything is touched, and an entry whose own record is damaged (see
// IeUrlRecord::Damage) is never changed. Each edited index is read back and must
// say what the edit meant before it is written. A file name that is not a plain
// name is never followed, and nothing outside the cache directory is removed.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/status.h"
#include "readers/ie_cache_files.h"
#include "readers/ie_cache_location.h"
#include "readers/ie_index_file.h"

namespace arkivo {

// The state a delete run left a chosen entry in.
enum class UrlCacheEntryState {
    Deleted,            // its file is gone and it is no longer listed
    MarkedForDeletion,  // a LEAK record, no longer listed, whose file is still on disk
    NotDeleted,         // unchanged and still listed
};

// The file-system changes of a delete run. Empty members stand for the real calls
// (WriteFileAtomically, RemoveFileBeneath); tests set them to make one step fail.
struct UrlCacheDeleteHooks {
    std::function<Status(const std::string& path, std::string_view bytes)> ReplaceIndex;
    std::function<int(const std::string& path)> RemoveFile;  // 0, or the errno value
};

// What a delete run did.
struct UrlCacheDeletion {
    std::vector<UrlCacheEntryState> States;  // one per chosen entry, in the order chosen
    std::size_t EarlierDeleted = 0;          // LEAK records found at the start, freed by this run
    std::size_t EarlierMarked = 0;           // LEAK records found at the start that stay
    // Why step 1 (nothing changed) or step 3 (the index clean-up is pending) failed.
    Status Outcome;
};

// One delete run over one cache: Open, Choose the entries, Run.
class UrlCacheEditor {
  public:
    explicit UrlCacheEditor(UrlCacheDeleteHooks hooks = {});
    ~UrlCacheEditor();
    UrlCacheEditor(const UrlCacheEditor&) = delete;
    UrlCacheEditor& operator=(const UrlCacheEditor&) = delete;

    // Locks the cache (a Content.IE5 directory or its index.dat; empty: the default
    // cache), then reads and checks its index. Refused when the index is damaged or
    // another delete run holds the lock.
    Status Open(const std::string& cache);

    // Chooses the live entry whose location equals sourceUrl (compared byte for byte)
    // for deletion; nothing is changed yet. NotFound when there is no such entry (or
    // it is chosen already); Refused when it is in use, its record is damaged or its
    // file name is unsafe.
    Status Choose(std::string_view sourceUrl);

    // Deletes the chosen entries and finishes the LEAK records found in the index, in
    // the three steps above, and releases the lock.
    UrlCacheDeletion Run();

  private:
    struct ChosenEntry {
        IeUrlRecord Record;
        std::string File;  // the directory entry to remove; empty when there is none
    };

    Status WriteIndex(const std::string& bytes);
    // Removes a cached file; true when it is gone (an empty path: there is none).
    bool RemoveFile(const std::string& path);
    void Unlock();

    UrlCacheDeleteHooks hooks_;
    int lock_ = -1;  // the cache directory, locked
    IeCachePaths paths_;
    std::string bytes_;
    IeIndex index_;
    std::unordered_map<std::string, std::size_t> byLocation_;  // live URL records not chosen
    std::optional<CacheFileResolver> files_;
    std::vector<ChosenEntry> chosen_;
};

// Deletes one entry (Open, Choose, Run). WriteFailed when its file is still on disk
// (the entry stays marked for deletion) or the index could not be written.
Status DeleteUrlCacheEntry(const std::string& cache, std::string_view sourceUrl,
                           const UrlCacheDeleteHooks& hooks = {});

}  // namespace arkivo
