#pragma once
// One Navigator cache entry as FAT.DB stores it: a database pair whose key names
// the URL and whose data describes the cached file. All integers are 32-bit
// little-endian; strings are a length that counts the closing NUL, then the bytes
// and the NUL. Only the low 16 bits of each length are used.
//
// Key:
//   0      key size
//   4      U, the URL's length;  8: the URL
//   8+U    length of a POST digest (0 or 16), then the digest
//
// Data (the record), from its first byte D:
//   D+0    record size           D+4   format version (3 in Navigator 3)
//   D+8    last modified         D+12  last access
//   D+16   expiry                D+20  content length
//          (times in seconds since 1 January 1970, signed; 0 = unset for the
//          last-modified time and the expiry)
//   D+29   F, the local file name's length;  D+33: the name (relative to the
//          cache directory)
//   D+38+F security_on, then the security part, then the 4-byte request method:
//          version 3: key sizes (8 bytes), the key-cipher string, then the
//          certificate string (both empty for pages not fetched over SSL);
//          version 5 (Navigator 4.5 and later): a block of L bytes after its
//          4-byte length L at D+42+F
//   then   the POST-headers string: at D+62+F when the security part takes 16
//          bytes (no SSL in version 3, L = 12 in version 5), and at that place
//          in other versions or when a version-5 L leads nowhere sensible
//   then   the content type string, the content encoding string and the charset
//          string
//
// The index also holds three bookkeeping pairs, keyed "INT_DiskCacheSize",
// "INT_DiskCacheNumber" and "INT_ExternalCacheNameString" (no NUL), which are no
// cache entries.
//
// Lengths at or above their limits give an empty string (the URL 512, the file
// name 50, the content type, encoding and charset 100), as does a string that does
// not lie wholly inside its key or record: a damaged entry gives empty fields,
// which the item building drops. The entry's origin keeps the key's URL whole,
// whatever its length, as long as it lies inside the key.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/cache_origin.h"

namespace arkivo {

struct NetscapeEntry {
    std::string Url;          // as stored, at most 255 bytes
    std::string FileName;     // lower case, relative to the cache directory
    std::string ContentType;  // lower case, at most 50 bytes
    std::int32_t Time = 0;    // last access, seconds since 1 January 1970
    // What the record said, as it said it; the index reader adds the index file.
    std::shared_ptr<CacheOrigin> Origin;
};

// The entry a pair describes, its origin's record offset left 0 for the caller;
// std::nullopt for a bookkeeping pair.
std::optional<NetscapeEntry> ParseCacheEntry(std::string_view key, std::string_view data);

}  // namespace arkivo
