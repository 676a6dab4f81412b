#pragma once
// Where the cached file of an index entry is. Entries name their files relative to
// the index's directory ("M0X3QSO1.GIF", or "14/cache3260FAB40000D5A" in Unix
// profiles), in whatever letter case the index keeps (the database reader
// lower-cases them, as Windows does not care). Here each part of the name is
// looked up without regard to case; a name that could lead out of the directory
// (empty parts, ".", "..", backslashes, NUL) has no file.

#include <sys/stat.h>

#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/file_system.h"
#include "platform/no_case_listing.h"

namespace arkivo {

class CachedFileResolver {
  public:
    explicit CachedFileResolver(std::string indexDir) : indexDir_(std::move(indexDir)) {}

    // The path of the cached file, with each part spelled as on disk when a
    // matching entry exists (an exact match wins); indexDir + name otherwise. Empty
    // when the name is not a safe relative name. IsFile tells whether the path names
    // a regular file, mostly from the directory listing alone; links are followed
    // only as far as they stay inside the index's directory.
    FoundFile FileOf(std::string_view name);

    // The directory the cached files must stay in, as the paths FileOf gives begin.
    const std::string& IndexDir() const { return indexDir_; }

  private:
    // What an entry is, as the listing or an lstat tells: a link (or an entry of a
    // file system whose listing does not say) needs a stat to know.
    enum class Kind : unsigned char { File, Other, Unknown };

    struct Entry {
        std::string Name;  // as spelled on disk
        Kind Type = Kind::Unknown;
    };

    static Kind KindOf(const struct stat& info);
    static Kind KindOf(unsigned char direntType);

    // The entry of dir matching part (an exact match wins); false when none does.
    // Once a name of dir is not found as written, dir is listed, and every later
    // name of it is looked up in that listing without a call to the file system.
    bool FindNoCase(const std::string& dir, const std::string& part, Entry& found);

    std::string indexDir_;
    std::unordered_map<std::string, NoCaseListing> listings_;
};

}  // namespace arkivo
