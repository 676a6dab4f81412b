#include "webarchive/warc_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "model/content_types.h"
#include "model/url.h"
#include "platform/file_system.h"
#include "platform/unique_fd.h"
#include "rewriter/page_rewriter.h"
#include "rewriter/page_title.h"
#include "webarchive/cdxj.h"
#include "webarchive/digest.h"
#include "webarchive/record_id.h"
#include "webarchive/stored_response.h"
#include "webarchive/warc_fields.h"
#include "webarchive/warc_time.h"

namespace arkivo {
namespace {

constexpr std::size_t ReadBlock = 1024 * 1024;
constexpr std::string_view FieldsType = "application/warc-fields";
constexpr std::string_view UnknownType = "application/octet-stream";
constexpr std::string_view RecordEnd = "\r\n\r\n";

std::string FormatName(CacheFormat format) {
    switch (format) {
        case CacheFormat::NavigatorDatabase:
            return "Netscape Navigator FAT.DB";
        case CacheFormat::NavigatorText:
            return "Netscape Navigator 1.x text FAT";
        case CacheFormat::InternetExplorer:
            break;
    }
    return "Internet Explorer index.dat";
}

std::string HexFlags(std::uint32_t flags) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", flags);
    return text;
}

// The value of a Content-Type before its parameters, as indexes give the mime.
std::string BareType(std::string_view type) {
    return std::string(TrimBlanks(type.substr(0, type.find(';'))));
}

// What the cache knew about the item, for its metadata record: where the record and
// the bytes came from, and every time and count the record kept.
std::string MetadataBlock(const TCacheItem& item, std::uint64_t size, std::int64_t modified,
                          const std::string& dateSource) {
    const CacheOrigin& origin = *item.Origin;
    WarcFields fields = {
        {"cache-format", FormatName(origin.Format)},
        {"cache-index", FieldValue(origin.IndexFile)},
        {origin.Format == CacheFormat::NavigatorText ? "cache-record-line" : "cache-record-offset",
         std::to_string(origin.RecordOffset)},
        {"cache-url", FieldValue(origin.Url)},
        {"cached-file", FieldValue(item.CacheFile)},
        {"cached-file-size", std::to_string(size)},
        {"cached-file-modified", WarcDate(modified)},
    };
    const auto add = [&fields](const char* name, const std::string& value) {
        if (!value.empty()) {
            fields.push_back({name, FieldValue(value)});
        }
    };
    const auto addTime = [&fields](const char* name, const std::optional<std::int64_t>& time) {
        if (time) {
            fields.push_back({name, WarcDate(*time)});
        }
    };
    add("cache-file-name", origin.StoredFileName);
    add("cache-directory", origin.CacheSubdirectory);
    add("cache-content-type", origin.ContentType);
    add("cache-content-encoding", origin.ContentEncoding);
    add("cache-charset", origin.Charset);
    addTime("last-modified", origin.LastModified);
    addTime("last-access", origin.LastAccess);
    addTime("expires", origin.Expires);
    addTime("last-checked", origin.LastChecked);
    if (origin.StoredLength) {
        fields.push_back({"stored-length", std::to_string(*origin.StoredLength)});
    }
    if (origin.HitCount) {
        fields.push_back({"hit-count", std::to_string(*origin.HitCount)});
    }
    if (origin.EntryFlags) {
        fields.push_back({"entry-flags", HexFlags(*origin.EntryFlags)});
    }
    if (origin.FormatVersion) {
        fields.push_back({"record-version", std::to_string(*origin.FormatVersion)});
    }
    fields.push_back({"warc-date-from", dateSource});
    return FieldLines(fields);
}

}  // namespace

WarcSource WarcSourceOf(Edition edition, const std::vector<const TCacheItem*>& items) {
    WarcSource source;
    source.CacheKind =
        edition == Edition::IE ? "Internet Explorer cache" : "Netscape Navigator disk cache";
    const auto recorded = std::find_if(items.begin(), items.end(),
                                       [](const TCacheItem* item) { return item->Origin; });
    if (recorded != items.end()) {
        source.CachePath = (*recorded)->Origin->IndexFile;
    }
    return source;
}

WarcWriter::WarcWriter(ByteSink sink, std::string fileName)
    : out_(std::move(sink)), fileName_(std::move(fileName)) {}

bool WarcWriter::Fail(Status failure) {
    if (failure_.ok()) {
        failure_ = std::move(failure);
    }
    return false;
}

bool WarcWriter::WriteRecord(const std::string& head, const std::string& block) {
    if (out_.Begin() && out_.Add(head) && out_.Add(block) && out_.Add(RecordEnd) && out_.End()) {
        return true;
    }
    return Fail(Status::Error(StatusCode::WriteFailed, std::strerror(errno)));
}

bool WarcWriter::WriteInfo(const WarcSource& source, std::int64_t now) {
    infoId_ = NewRecordId();
    const std::string block = FieldLines({
        {"software", std::string("Arkivo ") + ARKIVO_VERSION},
        {"format", "WARC File Format 1.1"},
        {"conformsTo",
         "http://iipc.github.io/warc-specifications/specifications/warc-format/"
         "warc-1.1/"},
        {"description",
         "Items of a browser's disk cache as the cache stored them: captures "
         "from the cached files, each followed by what the cache index "
         "recorded about it"},
        {"cache", FieldValue(source.CachePath)},
        {"cache-kind", FieldValue(source.CacheKind)},
    });
    Digest sha1(DigestAlgorithm::Sha1);
    sha1.Add(block);
    const std::string head = WarcHead({
        {"WARC-Type", "warcinfo"},
        {"WARC-Record-ID", infoId_},
        {"WARC-Date", WarcDate(now)},
        {"WARC-Filename", FieldValue(fileName_)},
        {"WARC-Block-Digest", WarcDigestText(sha1.Finish())},
        {"Content-Type", std::string(FieldsType)},
        {"Content-Length", std::to_string(block.size())},
    });
    return WriteRecord(head, block);
}

PreparedCapture PrepareCapture(const TCacheItem& item) {
    PreparedCapture capture;
    const auto unreadable = [&](const std::string& why) {
        capture.Reason = "cannot read " + item.CacheFile + ": " + why;
    };
    if (!item.Origin) {
        capture.Reason = "the cache gave no record for " + item.Url;
        return capture;
    }
    capture.File = UniqueFd(OpenCachedFile(item));
    struct stat info {};
    if (!capture.File.Valid() || ::fstat(capture.File.Get(), &info) != 0) {
        unreadable(std::strerror(errno));
        return capture;
    }
    capture.Size = static_cast<std::uint64_t>(info.st_size);
    capture.Modified = info.st_mtim.tv_sec;
    if (!ReadAt(capture.File.Get(), 0, std::min<std::uint64_t>(capture.Size, ReadBlock),
                capture.First)) {
        unreadable(std::strerror(errno));
        return capture;
    }
    if (capture.First.size() < std::min<std::uint64_t>(capture.Size, ReadBlock)) {
        capture.Size = capture.First.size();  // it is shorter than it said
    }
    if (!item.Origin->ResponseHeader.empty()) {
        capture.Response =
            ReadStoredResponse(item.Origin->ResponseHeader, capture.Size, capture.First);
    }
    // A resource record's block is its payload: one digest serves both.
    const bool hasHead = !capture.Response.Head.empty();
    Digest block(DigestAlgorithm::Sha1);
    Digest payload(DigestAlgorithm::Sha1);
    const auto add = [&](std::string_view bytes) {
        payload.Add(bytes);
        if (hasHead) {
            block.Add(bytes);
        }
    };
    block.Add(capture.Response.Head);
    add(capture.First);
    std::string buffer;
    for (std::uint64_t at = capture.First.size(); at < capture.Size; at += buffer.size()) {
        if (!ReadAt(capture.File.Get(), at, std::min<std::uint64_t>(capture.Size - at, ReadBlock),
                    buffer)) {
            unreadable(std::strerror(errno));
            return capture;
        }
        if (buffer.empty()) {
            unreadable("it became shorter while it was being read");
            return capture;
        }
        add(buffer);
    }
    capture.PayloadDigest = payload.Finish();
    capture.BlockDigest = hasHead ? block.Finish() : capture.PayloadDigest;
    capture.Readable = true;
    return capture;
}

// Compresses the capture's record (the second reading), checking that the file
// still holds the bytes the digests were taken of.
bool WarcWriter::WriteCapture(const TCacheItem& item, const PreparedCapture& capture,
                              const std::string& head) {
    if (!(out_.Begin() && out_.Add(head) && out_.Add(capture.Response.Head) &&
          out_.Add(capture.First))) {
        return Fail(Status::Error(StatusCode::WriteFailed, std::strerror(errno)));
    }
    Digest check(DigestAlgorithm::Sha1);
    check.Add(capture.First);
    std::string buffer;
    for (std::uint64_t at = capture.First.size(); at < capture.Size; at += buffer.size()) {
        if (!ReadAt(capture.File.Get(), at, std::min<std::uint64_t>(capture.Size - at, ReadBlock),
                    buffer) ||
            buffer.empty()) {
            break;
        }
        check.Add(buffer);
        if (!out_.Add(buffer)) {
            return Fail(Status::Error(StatusCode::WriteFailed, std::strerror(errno)));
        }
    }
    if (check.Finish() != capture.PayloadDigest) {
        return Fail(Status::Error(StatusCode::Unreadable,
                                  item.CacheFile + " changed while it was being read"));
    }
    if (!(out_.Add(RecordEnd) && out_.End())) {
        return Fail(Status::Error(StatusCode::WriteFailed, std::strerror(errno)));
    }
    return true;
}

WarcItemOutcome WarcWriter::WriteItem(const TCacheItem& item, std::string& reason) {
    return WriteItem(item, PrepareCapture(item), reason);
}

WarcItemOutcome WarcWriter::WriteItem(const TCacheItem& item, PreparedCapture capture,
                                      std::string& reason) {
    if (!failure_.ok()) {
        return WarcItemOutcome::OutputFailed;
    }
    if (!capture.Readable) {
        reason = std::move(capture.Reason);
        return WarcItemOutcome::Skipped;
    }
    const CacheOrigin& origin = *item.Origin;
    const bool isResponse = capture.Response.HasStatusLine;
    const std::string recordId = NewRecordId();
    const std::string uri = UriText(origin.Url.empty() ? item.Url : origin.Url);
    const std::int64_t date = origin.FetchTime().value_or(capture.Modified);
    const std::string resourceType =
        origin.ContentType.empty() ? std::string(UnknownType) : FieldValue(origin.ContentType);
    const std::string payloadDigest = WarcDigestText(capture.PayloadDigest);
    const std::string head = WarcHead({
        {"WARC-Type", isResponse ? "response" : "resource"},
        {"WARC-Record-ID", recordId},
        {"WARC-Warcinfo-ID", infoId_},
        {"WARC-Target-URI", uri},
        {"WARC-Date", WarcDate(date)},
        {"WARC-Block-Digest", WarcDigestText(capture.BlockDigest)},
        {"WARC-Payload-Digest", payloadDigest},
        {"Content-Type", isResponse ? "application/http; msgtype=response" : resourceType},
        {"Content-Length", std::to_string(capture.Response.Head.size() + capture.Size)},
    });
    const std::uint64_t offset = out_.Offset();
    if (!WriteCapture(item, capture, head)) {
        return WarcItemOutcome::OutputFailed;
    }
    CdxjEntry entry;
    entry.Url = uri;
    entry.Time = date;
    entry.Mime = BareType(isResponse ? capture.Response.ContentType : resourceType);
    entry.Status = capture.Response.Status;
    entry.Digest = payloadDigest.substr(payloadDigest.find(':') + 1);
    entry.Length = out_.Offset() - offset;
    entry.Offset = offset;
    entry.FileName = fileName_;
    cdxjLines_.push_back(CdxjLine(entry));
    if (item.Kind == HtmlContentCode) {
        pages_.push_back(
            {uri, date,
             ExtractTitle(std::string_view(capture.First).substr(0, LargePageTitleSpan))});
    }

    const std::string dateSource = origin.LastChecked  ? "last-checked"
                                   : origin.LastAccess ? "last-access"
                                                       : "cached-file-modified";
    const std::string block = MetadataBlock(item, capture.Size, capture.Modified, dateSource);
    Digest sha1(DigestAlgorithm::Sha1);
    sha1.Add(block);
    const std::string metadataHead = WarcHead({
        {"WARC-Type", "metadata"},
        {"WARC-Record-ID", NewRecordId()},
        {"WARC-Warcinfo-ID", infoId_},
        {"WARC-Refers-To", recordId},
        {"WARC-Target-URI", uri},
        {"WARC-Date", WarcDate(date)},
        {"WARC-Block-Digest", WarcDigestText(sha1.Finish())},
        {"Content-Type", std::string(FieldsType)},
        {"Content-Length", std::to_string(block.size())},
    });
    return WriteRecord(metadataHead, block) ? WarcItemOutcome::Written
                                            : WarcItemOutcome::OutputFailed;
}

}  // namespace arkivo
