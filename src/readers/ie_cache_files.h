#pragma once
// The cached files an Internet Explorer cache index names. A record names its file
// by a cache directory (an index into the header's directory table, or none: the
// cache directory itself) and a file name; on this platform both names are looked up
// without regard to letter case.
//
// The names come from an untrusted file, so a name that is not one plain path
// component (empty, ".", "..", or holding "/", "\" or NUL) is never used, and a
// symbolic link is never followed out of the cache directory.

#include <sys/stat.h>

#include <optional>
#include <string>
#include <unordered_map>

#include "platform/file_system.h"
#include "platform/no_case_listing.h"
#include "readers/ie_index_file.h"

namespace arkivo {

class CacheFileResolver {
  public:
    explicit CacheFileResolver(std::string cacheDirectory);

    // The file to read for the record: no path when the record names no file, its
    // names are unsafe, or the file (through links) lies outside the cache. A file
    // that does not exist still gets its path; IsFile tells whether it is there.
    // Costs one lstat when the file is there as named (two for a link): the cache
    // directories are looked up once.
    FoundFile FileToRead(const IeIndex& index, const IeUrlRecord& record);

    // The directory entry to remove for the record: empty when the record names no
    // file or its names are unsafe; Refused when the entry would lie outside the
    // cache or is not a file or link.
    Status EntryToRemove(const IeIndex& index, const IeUrlRecord& record, std::string& path);

  private:
    struct Directory {
        std::string Path;     // looked up without regard to case; as named when missing
        bool Exists = false;  // an entry of that name is there
        bool Inside = false;  // missing, or resolves to the cache directory or inside it
        // Read when the first file name is not found as written, so that names in
        // another case, or missing files, cost no scan of the directory each.
        std::optional<NoCaseListing> Listing;
    };

    // The record's directory; nullptr when the index names none usable (an unsafe
    // name, or an index beyond the directory table).
    Directory* DirectoryOf(const IeIndex& index, const IeUrlRecord& record);
    // The path of a safe file name in dir, looked up without regard to case (as named
    // when there is no such entry); true, with its lstat in info, when it is there.
    static bool LookUp(Directory& dir, const std::string& name, std::string& path,
                       struct stat& info);
    // True when the existing path resolves to the cache directory or a place inside it.
    bool ResolvesInside(const std::string& path) const;

    std::string cacheDirectory_;
    std::string realCacheDirectory_;  // with links resolved and a trailing separator
    // By the name the index gives; "" for the cache directory itself. An index
    // names only a few, so each is looked up and checked once.
    std::unordered_map<std::string, Directory> directories_;
};

}  // namespace arkivo
