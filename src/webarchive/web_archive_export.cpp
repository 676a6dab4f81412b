#include "webarchive/web_archive_export.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"
#include "platform/rooted_files.h"
#include "platform/unique_fd.h"
#include "webarchive/capture_read_ahead.h"
#include "webarchive/cdxj.h"
#include "webarchive/wacz_package.h"

namespace arkivo {
namespace {

constexpr std::size_t OutputBlock = 1024 * 1024;

// Whether the WARC of items may reach 4 GB: their files' sizes, with room for the
// heads of each capture and its metadata record and for bytes that do not compress.
bool MayReachFourGigabytes(const std::vector<const TCacheItem*>& items) {
    constexpr std::uint64_t Limit = 0xFFFFFFFFu;
    constexpr std::uint64_t RecordRoom = 64 * 1024;
    std::uint64_t bound = 1024 * 1024;
    for (const TCacheItem* item : items) {
        const UniqueFd file(OpenBeneath(CacheDirOf(*item), item->CacheFile, O_PATH));
        struct stat info {};
        const std::uint64_t size = file.Valid() && ::fstat(file.Get(), &info) == 0
                                       ? static_cast<std::uint64_t>(info.st_size)
                                       : 0;
        bound += size + size / 100 + RecordRoom;
        if (bound >= Limit) {
            return true;
        }
    }
    return false;
}

// The export itself, once the outputs are open (-1 for one not asked for).
bool WriteOutputs(const std::vector<const TCacheItem*>& items, const WarcSource& source,
                  const WebArchiveTargets& targets, std::int64_t now,
                  const ExportProgress& progress, int warcFd, int waczFd,
                  WebArchiveExport& result) {
    std::unique_ptr<WaczPackage> package;
    if (waczFd >= 0) {
        package = std::make_unique<WaczPackage>(waczFd, now);
        if (!package->BeginWarc(targets.WarcName, MayReachFourGigabytes(items))) {
            return false;
        }
    }
    WaczPackage* const wacz = package.get();
    // The compressed records are written in large blocks: most are a few hundred
    // bytes, and a write call each would cost more than compressing them.
    std::string pending;
    pending.reserve(OutputBlock);
    const auto flush = [&pending, warcFd, wacz] {
        const bool written = (warcFd < 0 || WriteAll(warcFd, pending)) &&
                             (wacz == nullptr || wacz->AddWarcBytes(pending));
        pending.clear();
        return written;
    };
    WarcWriter writer(
        [&pending, &flush](std::string_view bytes) {
            pending.append(bytes);
            return pending.size() < OutputBlock || flush();
        },
        targets.WarcName);
    if (!writer.WriteInfo(source, now)) {
        result.Error = writer.Failure();
        return false;
    }
    CaptureReadAhead captures(items);
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::string reason;
        switch (writer.WriteItem(*items[i], captures.Next(), reason)) {
            case WarcItemOutcome::Written:
                ++result.Written;
                break;
            case WarcItemOutcome::Skipped:
                if (result.Skipped++ == 0) {
                    result.FirstSkip = reason;
                }
                break;
            case WarcItemOutcome::OutputFailed:
                result.Error = writer.Failure();
                return false;
        }
        if (progress && !progress(i + 1)) {
            result.Cancelled = true;
            result.Error = Status::Error(StatusCode::Cancelled, "the export was cancelled");
            return false;
        }
    }
    if (!flush()) {
        result.Error = Status::Error(StatusCode::WriteFailed, std::strerror(errno));
        return false;
    }
    result.CdxjLines = writer.CdxjLines();
    SortCdxjLines(result.CdxjLines);
    if (wacz != nullptr &&
        !(wacz->EndWarc() &&
          wacz->Finish(result.CdxjLines, writer.Pages(), "Web archive of " + source.CachePath))) {
        return false;
    }
    return true;
}

// Runs fill with a temporary file for target (or -1 when there is none), keeping
// the file under the target's name only when fill succeeds.
Status WithOutput(const std::optional<ExportTarget>& target,
                  const std::function<bool(int fd)>& fill) {
    if (!target) {
        return fill(-1) ? Status::Ok() : Status::Error(StatusCode::WriteFailed, "");
    }
    return ReplaceFileAt(target->DirFd, target->Name, fill,
                         ReplaceOptions{Durability::Synced, {}, target->ShownPath});
}

}  // namespace

WebArchiveExport ExportWebArchive(const std::vector<const TCacheItem*>& items,
                                  const WarcSource& source, const WebArchiveTargets& targets,
                                  std::int64_t now, const ExportProgress& progress) {
    WebArchiveExport result;
    Status inner;
    const Status outer = WithOutput(targets.Warc, [&](int warcFd) {
        inner = WithOutput(targets.Wacz, [&](int waczFd) {
            return WriteOutputs(items, source, targets, now, progress, warcFd, waczFd, result);
        });
        return inner.ok();
    });
    if (result.Error.ok() && !outer.ok()) {
        // The writing itself went well: a temporary file or a rename failed.
        result.Error = !inner.ok() && !inner.message().empty() ? inner : outer;
    }
    if (!result.Error.ok()) {
        result.CdxjLines.clear();
    }
    return result;
}

}  // namespace arkivo
