#pragma once
// One resource found in a browser's disk cache, and its stored record.
//
// Stored record (the unit of archive.dat; records follow each other with no header,
// separator or count; integers little-endian):
//
//   offset  size  field
//   0       4     Kind, signed 32-bit content code (0..255)
//   4       4     Group, signed 32-bit: 0 text, 1 media, 2 other
//   8       8     Date, IEEE-754 double day count (see platform/clock.h)
//   16      4     U = length of Url + 1
//   20      4     T = length of Title + 1
//   24      4     A = length of ArchiveName + 1
//   28      U     Url bytes and one NUL
//   28+U    T     Title bytes and one NUL
//   28+U+T  A     ArchiveName bytes and one NUL
//
// Reading relies on nothing the file says: a string ends at its first NUL or where
// the data ends, a length larger than the data left reads what is there, and a
// record whose strings were cut short still ends inside its buffers.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/cache_origin.h"
#include "model/streams.h"

namespace arkivo {

class TCacheItem {
  public:
    std::int32_t Kind = 0;    // content code, model/content_types.h
    std::int32_t Group = 0;   // 0 text, 1 media (image, audio, video), 2 other
    double Date = 0.0;        // day count, local time
    std::string Url;          // always "http://" + host + ":" + port + path
    std::string Title;        // set by the archive run
    std::string ArchiveName;  // file name inside the archive folder, set by the archive run
    std::string CacheKey;     // the entry's name in the IE cache (ArkivoIE only); never stored
    std::string Domain;       // cleaned lower-case host; never stored
    std::string CacheFile;    // path of the cached file; never stored
    // How many leading bytes of CacheFile name the cache directory the file must stay
    // in (links out of it are refused); 0: the file's own directory. Never stored.
    std::size_t CacheDirLength = 0;
    // What the cache's record said about the entry (exports use it); may be null.
    // Never stored.
    std::shared_ptr<const CacheOrigin> Origin;

    // Appends the stored record to the stream.
    void SaveToStream(TStream& stream) const;

    // Reads the next stored record. Returns true when no record was left (fewer than
    // the 16 head bytes available), false when a record was read. Domain, CacheFile
    // and CacheKey are left as they were.
    bool LoadFromStream(TSimpleBufferFileStream& stream);

    // Copies everything but CacheKey from another item (the archive merge uses it).
    void AssignFrom(const TCacheItem& other);
};

// The cache directory the item's cached file must stay in.
std::string CacheDirOf(const TCacheItem& item);

// Opens the item's cached file for reading, never through a link out of its cache
// directory, and only when it is a regular file (platform/rooted_files.h); -1, with
// errno set, otherwise.
int OpenCachedFile(const TCacheItem& item);

// An owning list of items in the order they were met.
using TCacheItemList = std::vector<std::unique_ptr<TCacheItem>>;

}  // namespace arkivo
