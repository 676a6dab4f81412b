#pragma once
// The archive run: copies the chosen cache items into the archive directory as a
// tree a browser can walk offline, under names unique in their folder and stable
// across runs, rewrites HTML pages so their links stay inside the archive, keeps
// archive.dat up to date and has the index rebuilt.
//
// The engine runs without a window. Whoever drives it (the progress window, the
// command line) supplies the hooks: progress and stage texts, a way to let pending
// events run, opening the finished index, and, for ArkivoIE, storing the settings.
// Questions and messages go through the Dialogs seam. When asked to, a run that was
// not cancelled also writes the items it archived as a web archive (see
// archiver/web_archive_folder.h).
//
// Order of a run: PrepareArchiveRun, fill ArchiveJob, StartArchiveRun (false when
// there is nothing to archive), CheckArchiveDirectory (which runs RunArchive), and
// always FinishArchiveRun.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_info.h"
#include "archive/used_names.h"
#include "model/cache_item.h"
#include "model/content_types.h"
#include "model/edition.h"
#include "rewriter/link_options.h"
#include "rewriter/page_rewriter.h"

namespace arkivo {

inline constexpr const char* NamingStageText = "Creating unique filenames...";
inline constexpr const char* ArchivingStageText = "Archiving files...";
inline constexpr const char* WebArchiveStageText = "Writing the web archive...";
inline constexpr const char* NoFilesToArchiveText = "No files to archive.";
inline constexpr const char* CannotCreateDirectoryText =
    "Could not create directory.\r\nCheck the archive directory settings.";

struct ArchiveRunHooks {
    std::function<void(const std::string& stage)> SetStage;
    // Shows the progress (0 to 100) and lets pending events run, a Cancel click among them.
    std::function<void(int percent)> SetProgress;
    // ArkivoIE stores all settings after a completed run.
    std::function<void()> StoreSettings;
    std::function<void(const std::string& path)> OpenDocument;
};

struct ArchiveRunOptions {
    Edition ProgramEdition = Edition::Nav;
    std::string ArchiveDir;
    LinkOptions Links;
    // The windows ask before creating a missing directory and offer to open the
    // index at the end; the command line creates the directory and asks nothing.
    bool AskQuestions = true;
    // Larger HTML pages are copied as they stand, not rewritten (tests lower it).
    std::size_t PageRewriteLimit = MaxRewrittenPageSize;
    // Also write the items archived by the run, as the cache holds them, as a WARC
    // in the archive directory's web archive folder.
    bool WriteWebArchive = false;
};

enum class ArchiveOutcome {
    NothingToArchive,  // the job was empty
    NotStarted,        // the directory is missing and was not created
    Cancelled,         // stopped while archiving or writing the web archive; what was
                       // archived is recorded, a web archive cut short is not kept
    Completed,         // every item handled and the index rebuilt
    Failed,            // an error outside the per-item handling (the web archive's
                       // included); its text is in Error
};

struct ArchiveRunResult {
    explicit ArchiveRunResult(ArchiveOutcome outcome = ArchiveOutcome::NotStarted)
        : Outcome(outcome) {}

    ArchiveOutcome Outcome;
    bool OpenIndex = false;       // the user asked to open the index (the window's OK result)
    bool KeepWindowOpen = false;  // the directory could not be created: the window waits for Cancel
    std::size_t ArchivedCount = 0;
    std::size_t FailedCount = 0;  // items whose copy or rewritten page could not be written
    std::string FirstFailure;     // why the first of them failed, in the system's words
    std::string Error;
};

// "N items could not be archived; the first: " and why the first failed.
std::string FailedItemsText(const ArchiveRunResult& result);

class ArchiveRun {
  public:
    ArchiveRun(ArchiveRunOptions options, ArchiveRunHooks hooks);

    // Empties ArchiveJob and, in ArkivoNav, builds the extension table.
    void PrepareArchiveRun();
    std::vector<TCacheItem*>& ArchiveJob() { return archiveJob_; }

    // False, after the message "No files to archive.", when the job is empty.
    bool StartArchiveRun();

    // Makes sure the archive directory exists (asking first when questions are on),
    // then runs RunArchive.
    ArchiveRunResult CheckArchiveDirectory();

    // Opens the index when asked to, then drops the job and the extension table.
    void FinishArchiveRun(const ArchiveRunResult& result);

    // Cancel while busy: the archiving stage stops after the current item.
    void RequestCancel() { cancelRequested_ = true; }
    bool Busy() const { return busy_; }

    const std::string& ArchiveDir() const { return options_.ArchiveDir; }
    std::string IndexPath() const;

  private:
    ArchiveRunResult RunArchive();
    void FindCopies();
    void NameItems();
    void NameItem(TCacheItem& item, const TExtensionTable& extensions);
    void ArchiveItems(ArchiveRunResult& result);
    Status ArchiveOne(TCacheItem& item, const class ArchiveLinkMap& map);
    // Writes the items archived by this run as a web archive; the text of what went
    // wrong, empty when nothing did.
    std::string WriteWebArchive();
    void StartStage(const char* stage);
    void AdvanceProgress(std::size_t done, std::size_t total);

    ArchiveRunOptions options_;
    ArchiveRunHooks hooks_;
    std::vector<TCacheItem*> archiveJob_;
    // One copy is written for each URL of the job. For each item: the index of the item
    // that supplies its URL's copy (the last one met), and the copy written where the
    // URL is first met (nullptr elsewhere and for items that are not archived).
    std::vector<std::size_t> supplierOf_;
    std::vector<TCacheItem*> copyAt_;
    std::vector<const TCacheItem*> archivedItems_;  // the copies this run wrote
    std::optional<TExtensionTable> extensionTable_;
    TArchiveList archiveList_;
    UsedNames usedNames_;
    bool busy_ = false;
    bool cancelRequested_ = false;
    int progress_ = 0;
    std::size_t unchangedPages_ = 0;  // pages of this run too large to rewrite
};

}  // namespace arkivo
