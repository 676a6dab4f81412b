#pragma once
// What a cache's own record said about one entry, kept beside the item so that an
// export can tell exactly where every byte came from and replay the entry as the
// browser received it. The item itself keeps only what Arkivo shows and archives.
//
// Times are seconds since 1 January 1970, UTC, converted without any time-zone
// change from the record's own fields; a field the record leaves unset (or the
// format lacks) is std::nullopt.

#include <cstdint>
#include <optional>
#include <string>

namespace arkivo {

enum class CacheFormat {
    NavigatorDatabase,  // FAT.DB / index.db
    NavigatorText,      // Navigator 1.x text FAT
    InternetExplorer,   // index.dat
};

struct CacheOrigin {
    CacheFormat Format = CacheFormat::InternetExplorer;
    std::string IndexFile;  // path of the index the record was read from
    // Where the record lies in the index: its file offset (index.dat), the file
    // offset of its data record's first byte (FAT.DB), or its line number (text FAT).
    std::uint64_t RecordOffset = 0;
    std::string Url;                // the location as the record stores it, whole
    std::string StoredFileName;     // the cached file's name as the record stores it
    std::string CacheSubdirectory;  // index.dat: the cache directory's name; else empty
    std::string ResponseHeader;     // index.dat: the stored response header text; else empty
    std::string ContentType;        // as the record stores it; empty when it has none
    std::string ContentEncoding;    // FAT.DB only
    std::string Charset;            // FAT.DB only

    std::optional<std::int64_t> LastModified;  // the server's Last-Modified
    std::optional<std::int64_t> LastAccess;    // the browser's last use or store
    std::optional<std::int64_t> Expires;
    std::optional<std::int64_t> LastChecked;  // index.dat: last sync with the server

    std::optional<std::uint64_t> StoredLength;   // the length the record gives
    std::optional<std::uint32_t> HitCount;       // index.dat
    std::optional<std::uint32_t> EntryFlags;     // index.dat: cache entry type flags
    std::optional<std::uint32_t> FormatVersion;  // FAT.DB: the record's version

    // When the browser last fetched or checked the entry: the last check, else the
    // last access.
    std::optional<std::int64_t> FetchTime() const { return LastChecked ? LastChecked : LastAccess; }
};

}  // namespace arkivo
