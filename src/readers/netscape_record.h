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
//   D+12   last access, seconds since 1 January 1970 (signed)
//   D+29   F, the local file name's length;  D+33: the name (relative to the
//          cache directory)
//   D+50+F version 3 only: the key-cipher string, then the certificate string
//          (both empty for pages not fetched over SSL)
//   D+62+F the POST-headers string (after the two strings above in version 3)
//   then   the content type string
//
// The index also holds three bookkeeping pairs, keyed "INT_DiskCacheSize",
// "INT_DiskCacheNumber" and "INT_ExternalCacheNameString" (no NUL), which are no
// cache entries.
//
// Lengths at or above their limits give an empty string (the URL 512, the file
// name 50, the content type 100), as does a string that does not lie wholly inside
// its key or record: a damaged entry gives empty fields, which the item building
// drops.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace arkivo {

struct NetscapeEntry {
    std::string Url;          // as stored, at most 255 bytes
    std::string FileName;     // lower case, relative to the cache directory
    std::string ContentType;  // lower case, at most 50 bytes
    std::int32_t Time = 0;    // last access, seconds since 1 January 1970
};

// The entry a pair describes; std::nullopt for a bookkeeping pair.
std::optional<NetscapeEntry> ParseCacheEntry(std::string_view key, std::string_view data);

}  // namespace arkivo
