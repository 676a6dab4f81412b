#pragma once
// Writes cache items as a WARC/1.1 file with record-at-a-time gzip: one warcinfo
// record first, then for every item its capture (a response record when the cache
// kept the server's HTTP head, else a resource record; the block the cached file's
// bytes as they are) followed by a metadata record of what the cache knew about it.
// It also gathers what an index of the file needs: a CDXJ line per capture and the
// HTML pages with their titles.
//
// Nothing is held whole in memory: a file is read in blocks, twice when it is
// larger than one block (once for its digests, which the record head names, once
// to compress it), and a file that changes between the two readings fails the
// output rather than leave a record whose digest does not match its bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "model/cache_item.h"
#include "model/edition.h"
#include "platform/status.h"
#include "platform/unique_fd.h"
#include "webarchive/gzip_members.h"
#include "webarchive/stored_response.h"

namespace arkivo {

// What the warcinfo record says of the source.
struct WarcSource {
    std::string CachePath;  // the cache index or directory that was read
    std::string CacheKind;  // such as "Netscape Navigator disk cache"
};

// The source of items read from one cache of edition: its kind, and the index file
// the first item with a cache record names.
WarcSource WarcSourceOf(Edition edition, const std::vector<const TCacheItem*>& items);

struct WarcPage {
    std::string Url;
    std::int64_t Time = 0;
    std::string Title;
};

// The first reading of an item's cached file: the file held open, its first block,
// the HTTP head the cache kept and the digests the record's head names. It needs
// nothing of the writer, so it may run on another thread while the writer
// compresses the item before.
struct PreparedCapture {
    bool Readable = false;
    std::string Reason;  // why it is not readable
    UniqueFd File;
    std::uint64_t Size = 0;
    std::int64_t Modified = 0;
    std::string First;
    StoredResponse Response;
    std::string BlockDigest;
    std::string PayloadDigest;
};

PreparedCapture PrepareCapture(const TCacheItem& item);

enum class WarcItemOutcome {
    Written,
    Skipped,       // the cached file is missing or cannot be read; nothing was written
    OutputFailed,  // the output failed: the file is incomplete
};

class WarcWriter {
  public:
    // fileName is the name the WARC file will have, for WARC-Filename and the index.
    WarcWriter(ByteSink sink, std::string fileName);

    // Writes the warcinfo record; false when the output failed.
    bool WriteInfo(const WarcSource& source, std::int64_t now);

    // Writes the item's capture and metadata records, from its prepared capture
    // (PrepareCapture(item) when none is given). On Skipped, reason says why.
    WarcItemOutcome WriteItem(const TCacheItem& item, std::string& reason);
    WarcItemOutcome WriteItem(const TCacheItem& item, PreparedCapture capture, std::string& reason);

    // Why the output failed; Ok while it has not.
    const Status& Failure() const { return failure_; }
    const std::vector<std::string>& CdxjLines() const { return cdxjLines_; }
    const std::vector<WarcPage>& Pages() const { return pages_; }

  private:
    bool WriteCapture(const TCacheItem& item, const PreparedCapture& capture,
                      const std::string& head);
    bool WriteRecord(const std::string& head, const std::string& block);
    bool Fail(Status failure);

    GzipMembers out_;
    std::string fileName_;
    std::string infoId_;
    Status failure_;
    std::vector<std::string> cdxjLines_;
    std::vector<WarcPage> pages_;
};

}  // namespace arkivo
