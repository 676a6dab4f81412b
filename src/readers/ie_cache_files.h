#pragma once
// The cached files an Internet Explorer cache index names. A record names its file
// by a cache directory (an index into the header's directory table, or none: the
// cache directory itself) and a file name; on this platform both names are looked up
// without regard to letter case.
//
// The names come from an untrusted file, so a name that is not one plain path
// component (empty, ".", "..", or holding "/", "\" or NUL) is never used, and a
// symbolic link is never followed out of the cache directory.

#include <string>
#include <unordered_map>

#include "readers/ie_index_file.h"

namespace arkivo {

class CacheFileResolver {
  public:
    explicit CacheFileResolver(std::string cacheDirectory);

    // The path of the file to read for the record: empty when the record names no
    // file, its names are unsafe, or the file (through links) lies outside the cache.
    // A file that does not exist still gets its path.
    std::string FileToRead(const IeIndex& index, const IeUrlRecord& record);

    // The directory entry to remove for the record: empty when the record names no
    // file or its names are unsafe; Refused when the entry would lie outside the
    // cache or is not a file or link.
    Status EntryToRemove(const IeIndex& index, const IeUrlRecord& record, std::string& path);

  private:
    // The file's path as named (looked up without regard to case); empty when unsafe.
    std::string NamedPath(const IeIndex& index, const IeUrlRecord& record) const;
    // True when the existing path resolves to the cache directory or a place inside it.
    bool ResolvesInside(const std::string& path) const;
    // True when dir (ending with a separator) is missing or resolves inside the cache;
    // remembered per directory.
    bool DirectoryInside(const std::string& dir);

    std::string cacheDirectory_;
    std::string realCacheDirectory_;  // with links resolved and a trailing separator
    std::unordered_map<std::string, bool> directoryInside_;
};

}  // namespace arkivo
