#pragma once
// Where the cached file of an index entry is. Entries name their files relative to
// the index's directory ("M0X3QSO1.GIF", or "14/cache3260FAB40000D5A" in Unix
// profiles), in whatever letter case the index keeps (the database reader
// lower-cases them, as Windows does not care). Here each part of the name is
// looked up without regard to case; a name that could lead out of the directory
// (empty parts, ".", "..", backslashes, NUL) has no file.

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace arkivo {

class CachedFileResolver {
  public:
    explicit CachedFileResolver(std::string indexDir) : indexDir_(std::move(indexDir)) {}

    // The path of the cached file, with each part spelled as on disk when a
    // matching entry exists (an exact match wins); indexDir + name otherwise.
    // Empty when the name is not a safe relative name.
    std::string PathOf(std::string_view name);

  private:
    std::string FindNoCase(const std::string& dir, const std::string& part);

    // A directory's entries, read once the first name is not found as written;
    // after that every name of the directory is looked up here, without a call to
    // the file system.
    struct Listing {
        std::unordered_set<std::string> exact;
        std::unordered_map<std::string, std::string> folded;  // lower-cased -> as on disk
    };

    std::string indexDir_;
    std::unordered_map<std::string, Listing> listings_;
};

}  // namespace arkivo
