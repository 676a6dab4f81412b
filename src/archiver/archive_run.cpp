#include "archiver/archive_run.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <exception>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "archive/archive_layout.h"
#include "archive/archive_link_map.h"
#include "archive/archive_lock.h"
#include "archiver/archive_names.h"
#include "archiver/web_archive_folder.h"
#include "model/file_utils.h"
#include "model/url.h"
#include "offline_index/index_builder.h"
#include "platform/dialogs.h"
#include "platform/path.h"
#include "platform/rooted_files.h"
#include "rewriter/page_rewriter.h"

namespace arkivo {
namespace {

constexpr std::size_t MessageLimit = 255;
constexpr int NoFilesHelpContext = 11;

std::string CreateQuestion(const std::string& dir) {
    return CutTo("Archive directory\r\n\r\n" + dir + "\r\n\r\n" + "does not exist. Create?",
                 MessageLimit);
}

std::string CompletionQuestion(const std::string& dir) {
    return CutTo("Archiving completed.\r\nThe index page is located at:\r\n\r\n" + dir +
                     IndexPageName + "\r\n\r\n" + "Do you wish to load this index now?",
                 MessageLimit);
}

// "2 pages larger than 32 MB were archived as they stand: their links were not
// rewritten."
std::string UnchangedPagesText(std::size_t count, std::size_t limit) {
    constexpr std::size_t MegaByte = 1024 * 1024;
    const std::string size = limit % MegaByte == 0 ? std::to_string(limit / MegaByte) + " MB"
                                                   : std::to_string(limit) + " bytes";
    return count == 1 ? "1 page larger than " + size +
                            " was archived as it stands: its links were not rewritten."
                      : std::to_string(count) + " pages larger than " + size +
                            " were archived as they stand: their links were not rewritten.";
}

// "2 items were left out of the web archive /a/web+archive/x.warc.gz; the first: " and
// why the first was.
std::string LeftOutText(const FolderWebArchive& written) {
    const std::size_t count = written.Export.Skipped;
    return std::to_string(count) + (count == 1 ? " item was" : " items were") +
           " left out of the web archive " + written.WarcPath +
           "; the first: " + written.Export.FirstSkip;
}

// Why an item without a content code is not archived.
std::string UnclassifiedText(const TCacheItem& item) {
    return item.Url + " has no content code: " + MimeTypeRecordingError();
}

}  // namespace

std::string FailedItemsText(const ArchiveRunResult& result) {
    const std::size_t count = result.FailedCount;
    return std::to_string(count) + (count == 1 ? " item" : " items") +
           " could not be archived; the first: " + result.FirstFailure;
}

ArchiveRun::ArchiveRun(ArchiveRunOptions options, ArchiveRunHooks hooks)
    : options_(std::move(options)), hooks_(std::move(hooks)) {}

void ArchiveRun::PrepareArchiveRun() {
    if (options_.ProgramEdition == Edition::Nav) {
        extensionTable_ = BuildExtensionTable();
    }
    archiveJob_.clear();
}

bool ArchiveRun::StartArchiveRun() {
    if (archiveJob_.empty()) {
        TheDialogs().ShowMessage(DialogMessage{NoFilesToArchiveText, DialogIcon::Information,
                                               DialogButtons::OkHelp, NoFilesHelpContext});
        return false;
    }
    return true;
}

std::string ArchiveRun::IndexPath() const {
    return options_.ArchiveDir + IndexPageName;
}

ArchiveRunResult ArchiveRun::CheckArchiveDirectory() {
    options_.ArchiveDir = IncludeTrailingSeparator(options_.ArchiveDir);
    if (!IsDirectory(options_.ArchiveDir)) {
        if (options_.AskQuestions) {
            const DialogResult answer = TheDialogs().ShowMessage(
                DialogMessage{CreateQuestion(options_.ArchiveDir), DialogIcon::Confirmation,
                              DialogButtons::YesNoCancel, 0});
            if (answer != DialogResult::Yes) {
                return ArchiveRunResult(ArchiveOutcome::NotStarted);
            }
        }
        MakeDirectoryPath(options_.ArchiveDir);
        if (!IsDirectory(options_.ArchiveDir)) {
            TheDialogs().ShowMessage(
                DialogMessage{CannotCreateDirectoryText, DialogIcon::Error, DialogButtons::Ok, 0});
            ArchiveRunResult result(ArchiveOutcome::NotStarted);
            result.KeepWindowOpen = options_.AskQuestions;
            result.Error = CannotCreateDirectoryText;
            return result;
        }
    }
    return RunArchive();
}

ArchiveRunResult ArchiveRun::RunArchive() {
    busy_ = true;
    cancelRequested_ = false;
    ArchiveRunResult result(ArchiveOutcome::Completed);
    std::string error;
    bool archiveRead = false;

    // Held until archive.dat is written back: a second run into this directory
    // would otherwise read it before this one writes it, and one run's items be lost.
    const ArchiveLock lock(options_.ArchiveDir);
    if (!archiveJob_.empty() && !lock.status().ok()) {
        error = lock.status().message();
    } else if (!archiveJob_.empty()) {
        try {
            usedNames_.Clear();
            const Status read = archiveList_.ReadArchiveInfo(options_.ArchiveDir, usedNames_);
            if (!read.ok()) {
                // Going on would replace an archive.dat we could not read with a shorter list.
                error = read.message();
            } else {
                archiveRead = true;
                FindCopies();
                NameItems();
                usedNames_.Clear();
                ArchiveItems(result);
                if (!cancelRequested_) {
                    progress_ = 100;
                    if (hooks_.SetProgress) {
                        hooks_.SetProgress(100);
                    }
                    BuildOfflineIndex(options_.ArchiveDir, archiveList_.Entries(),
                                      IndexProgress{hooks_.SetStage, hooks_.SetProgress});
                }
                if (options_.WriteWebArchive && !cancelRequested_ && !archivedItems_.empty()) {
                    error = WriteWebArchive();
                }
            }
        } catch (const std::exception& caught) {
            error = caught.what();
        }
        if (archiveRead) {
            // Said even after another error: the items of this run are then not recorded.
            const Status written = archiveList_.WriteArchiveInfo(options_.ArchiveDir);
            if (!written.ok()) {
                error += (error.empty() ? "" : "\r\n") + written.message();
            }
        }
        usedNames_.Clear();
    }
    busy_ = false;

    if (cancelRequested_) {
        result.Outcome = ArchiveOutcome::Cancelled;
    } else {
        if (!error.empty()) {
            result.Outcome = ArchiveOutcome::Failed;
            result.Error = error;
        }
        if (result.Outcome == ArchiveOutcome::Completed && hooks_.StoreSettings &&
            options_.ProgramEdition == Edition::IE) {
            hooks_.StoreSettings();
        }
        if (options_.AskQuestions && result.FailedCount > 0) {
            TheDialogs().ShowMessage(
                DialogMessage{FailedItemsText(result), DialogIcon::Warning, DialogButtons::Ok, 0});
        }
        // A run that failed is not called completed.
        if (options_.AskQuestions && result.Outcome == ArchiveOutcome::Completed) {
            const DialogResult answer = TheDialogs().ShowMessage(
                DialogMessage{CompletionQuestion(options_.ArchiveDir), DialogIcon::Information,
                              DialogButtons::YesNoCancel, 0});
            result.OpenIndex = answer == DialogResult::Yes;
        }
    }
    if (!error.empty()) {
        TheDialogs().ShowMessage(DialogMessage{error, DialogIcon::Error, DialogButtons::Ok, 0});
    }
    return result;
}

// Two cache entries can have one URL (the readers give every URL one form, so
// "http://WWW.SITE.example:80/a.htm" and "http://www.site.example/a.htm" are the same).
// Such a URL gets one file, as a later run would update it in place: the item met last
// supplies the bytes, date and title, under the name the first one is given.
void ArchiveRun::FindCopies() {
    std::unordered_map<std::string_view, std::size_t> lastOfUrl;
    for (std::size_t i = 0; i < archiveJob_.size(); ++i) {
        if (archiveJob_[i]->Kind != UnknownContentCode) {
            lastOfUrl[archiveJob_[i]->Url] = i;
        }
    }
    std::unordered_set<std::string_view> met;
    supplierOf_.assign(archiveJob_.size(), 0);
    copyAt_.assign(archiveJob_.size(), nullptr);
    for (std::size_t i = 0; i < archiveJob_.size(); ++i) {
        const TCacheItem& item = *archiveJob_[i];
        supplierOf_[i] = item.Kind == UnknownContentCode ? i : lastOfUrl[item.Url];
        if (item.Kind != UnknownContentCode && met.insert(item.Url).second) {
            copyAt_[i] = archiveJob_[supplierOf_[i]];
        }
    }
}

void ArchiveRun::NameItems() {
    StartStage(NamingStageText);
    const TExtensionTable extensions = extensionTable_ ? *extensionTable_ : BuildExtensionTable();
    for (std::size_t i = 0; i < archiveJob_.size(); ++i) {
        AdvanceProgress(i, archiveJob_.size());
        TCacheItem& item = *archiveJob_[i];
        TCacheItem& supplier = *archiveJob_[supplierOf_[i]];
        if (item.Kind != UnknownContentCode && copyAt_[i] == nullptr) {
            item.ArchiveName = supplier.ArchiveName;  // its URL was met and named before
            continue;
        }
        NameItem(item, extensions);
        if (&supplier != &item) {
            // Of another type, the copy lies in another folder and needs a name free there.
            if (ArchiveFolderOf(supplier.Kind) == ArchiveFolderOf(item.Kind)) {
                supplier.ArchiveName = item.ArchiveName;
            } else {
                NameItem(supplier, extensions);
            }
        }
    }
}

void ArchiveRun::NameItem(TCacheItem& item, const TExtensionTable& extensions) {
    if (const auto name = archiveList_.FindArchivedName(item.Url)) {
        item.ArchiveName = *name;
    } else if (!AssignArchiveName(item, options_.ArchiveDir, options_.ProgramEdition, extensions,
                                  usedNames_)) {
        item.ArchiveName.clear();
    }
}

void ArchiveRun::ArchiveItems(ArchiveRunResult& result) {
    StartStage(ArchivingStageText);
    unchangedPages_ = 0;
    archivedItems_.clear();
    std::vector<TCacheItem*> copies;
    std::copy_if(copyAt_.begin(), copyAt_.end(), std::back_inserter(copies),
                 [](const TCacheItem* copy) { return copy != nullptr; });
    const ArchiveLinkMap map(copies, archiveList_.Entries());
    for (std::size_t i = 0; i < archiveJob_.size(); ++i) {
        AdvanceProgress(i, archiveJob_.size());
        if (copyAt_[i] != nullptr) {
            TCacheItem& item = *copyAt_[i];
            Status archived;
            try {
                archived = ArchiveOne(item, map);
            } catch (const std::exception& caught) {
                // One item's failure never stops the run.
                archived = Status::Error(StatusCode::WriteFailed, caught.what());
            }
            if (archived.ok()) {
                archiveList_.MergeArchived(item);
                archivedItems_.push_back(&item);
                ++result.ArchivedCount;
            } else if (result.FailedCount++ == 0) {
                result.FirstFailure = archived.message();
            }
        } else if (archiveJob_[i]->Kind == UnknownContentCode &&
                   !MimeTypeRecordingError().empty() && result.FailedCount++ == 0) {
            // Types that are none ("zz") are skipped; a type that could not be recorded
            // is a failure the user has to hear of.
            result.FirstFailure = UnclassifiedText(*archiveJob_[i]);
        }
        if (cancelRequested_) {
            break;
        }
    }
    if (unchangedPages_ > 0) {
        TheDialogs().ShowMessage(
            DialogMessage{UnchangedPagesText(unchangedPages_, options_.PageRewriteLimit),
                          DialogIcon::Information, DialogButtons::Ok, 0});
    }
}

Status ArchiveRun::ArchiveOne(TCacheItem& item, const ArchiveLinkMap& map) {
    const auto path = ArchivePathOf(options_.ArchiveDir, item);
    if (!path) {
        return Status::Error(StatusCode::Refused, "no safe archive name for " + item.Url);
    }
    // A name kept from an earlier run may belong to a folder this run has not made.
    MakeDirectoriesBeneath(options_.ArchiveDir, DirectoryPart(*path));
    if (item.Kind == HtmlContentCode) {
        bool unchanged = false;
        Status written = RewritePage(item, options_.ArchiveDir, options_.Links, map,
                                     options_.PageRewriteLimit, &unchanged);
        unchangedPages_ += unchanged ? 1 : 0;
        return written;
    }
    const UniqueFd cached(OpenCachedFile(item));
    if (!cached.Valid()) {
        return Status::Error(StatusCode::Unreadable,
                             "cannot read " + item.CacheFile + ": " + std::strerror(errno));
    }
    return CopyFileBeneath(cached.Get(), options_.ArchiveDir, *path);
}

std::string ArchiveRun::WriteWebArchive() {
    StartStage(WebArchiveStageText);
    const FolderWebArchive written = WriteFolderWebArchive(
        options_.ArchiveDir, archivedItems_, WarcSourceOf(options_.ProgramEdition, archivedItems_),
        std::time(nullptr), [this](std::size_t done) {
            AdvanceProgress(done, archivedItems_.size());
            return !cancelRequested_;
        });
    if (written.Export.Cancelled) {
        return {};  // the run says it was cancelled
    }
    if (!written.Error.ok()) {
        return written.WarcPath.empty()
                   ? "The web archive was not written: " + written.Error.message()
                   : "The web archive " + written.WarcPath +
                         " was written, but its index was not: " + written.Error.message();
    }
    return written.Export.Skipped > 0 ? LeftOutText(written) : std::string();
}

void ArchiveRun::StartStage(const char* stage) {
    if (hooks_.SetStage) {
        hooks_.SetStage(stage);
    }
    progress_ = 0;
    if (hooks_.SetProgress) {
        hooks_.SetProgress(0);
    }
}

void ArchiveRun::AdvanceProgress(std::size_t done, std::size_t total) {
    const int percent = static_cast<int>(done * 100 / total);
    if (percent > progress_) {
        progress_ = percent;
        if (hooks_.SetProgress) {
            hooks_.SetProgress(percent);
        }
    }
}

void ArchiveRun::FinishArchiveRun(const ArchiveRunResult& result) {
    if (result.OpenIndex && hooks_.OpenDocument) {
        hooks_.OpenDocument(IndexPath());
    }
    extensionTable_.reset();
    archiveJob_.clear();
    supplierOf_.clear();
    copyAt_.clear();
    archivedItems_.clear();
}

}  // namespace arkivo
