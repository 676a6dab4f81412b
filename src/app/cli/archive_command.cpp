#include "archive_command.h"

#include <filesystem>

#include "archiver/archive_run.h"
#include "cache_selection.h"
#include "console.h"
#include "exit_status.h"
#include "interrupt_guard.h"
#include "model/edition.h"
#include "platform/file_system.h"
#include "progress_display.h"
#include "shell/program_settings.h"
#include "shell/program_values.h"
#include "sources.h"

namespace arkivo::cli {
namespace {

// The stored link options with the command line's overrides.
LinkOptions ChosenLinks(const ProgramSettings& settings, const ArchiveChoices& choices) {
    LinkOptions links = settings.Links();
    links.ShowOriginalUrls = choices.OriginalUrls.value_or(links.ShowOriginalUrls);
    links.StrikeoutLinks = choices.Strikeout.value_or(links.StrikeoutLinks);
    links.EmphasizeLinks = choices.Emphasize.value_or(links.EmphasizeLinks);
    if (choices.Emphasis) {
        const EmphasisTags tags = PresetTags(*choices.Emphasis, settings.CustomTags);
        // The active tags are program values, as the Properties dialog sets them.
        links.ActiveEmphasizeTag = ProgramValueText(tags.Open);
        links.ActiveDeEmphasizeTag = ProgramValueText(tags.Close);
    }
    return links;
}

// The directory as an absolute path, so the index path printed at the end can be
// opened from anywhere.
std::string AbsoluteDirectory(const std::string& dir) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(dir, error);
    return error ? dir : absolute.string();
}

int Report(const ArchiveRunResult& result, const ArchiveRun& run) {
    switch (result.Outcome) {
        case ArchiveOutcome::Completed: {
            // An archive left without items has its index page removed: say so
            // rather than name a page that is not there.
            const std::string where = FileExists(run.IndexPath())
                                          ? "index page " + PrintableText(run.IndexPath())
                                          : "the archive holds no items, so it has no index page";
            if (!Print(ItemCount(result.ArchivedCount) + " archived; " + where + "\n")) {
                Complain("cannot write the output");
                return RunFailed;
            }
            if (result.FailedCount > 0) {
                Complain(FailedItemsText(result));
                return RunFailed;
            }
            return result.ArchivedCount > 0 ? Success : NothingToDo;
        }
        case ArchiveOutcome::Cancelled:
            Complain("cancelled; the " + ItemCount(result.ArchivedCount) +
                     " archived so far are recorded in " + PrintableText(run.ArchiveDir()) +
                     "archive.dat");
            return RunFailed;
        case ArchiveOutcome::NothingToArchive:
            return NothingToDo;
        case ArchiveOutcome::NotStarted:
        case ArchiveOutcome::Failed:
            break;  // the engine's message box has said why
    }
    return RunFailed;
}

}  // namespace

int ArchiveChosenItems(const CliArguments& arguments) {
    CacheSelection selection;
    if (const int status = SelectItems(arguments, selection); status != Success) {
        return status;
    }
    const Edition edition = EditionOf(arguments.Source.Kind);
    SettingsStore store;
    const ProgramSettings settings = LoadProgramSettings(store, edition);
    const std::string dir =
        arguments.Archive.To.empty() ? settings.ArchiveDir : arguments.Archive.To;
    if (dir.empty()) {
        Complain("no archive directory is set; name one with --to DIR");
        return UsageFailure;
    }

    ProgressDisplay display;
    ArchiveRun* running = nullptr;
    ArchiveRunHooks hooks;
    hooks.SetStage = [&display](const std::string& stage) { display.Stage(stage); };
    hooks.SetProgress = [&display, &running](int percent) {
        display.Progress(percent);
        if (InterruptGuard::Interrupted()) {
            running->RequestCancel();
        }
    };
    hooks.StoreSettings = [&store, &settings, edition] {
        if (const Status stored = StoreProgramSettings(store, settings, edition); !stored.ok()) {
            Complain(PlainLines(stored.message()));
        }
    };
    ArchiveRunOptions options{edition, AbsoluteDirectory(dir),
                              ChosenLinks(settings, arguments.Archive), false};
    options.WriteWebArchive = arguments.Archive.WebArchive.value_or(settings.WriteWebArchive);
    ArchiveRun run(std::move(options), std::move(hooks));
    running = &run;

    run.PrepareArchiveRun();
    for (const auto& item : selection.Items) {
        if (selection.Grouping.IsChosen(*item, selection.Switches)) {
            run.ArchiveJob().push_back(item.get());
        }
    }
    if (!run.StartArchiveRun()) {
        run.FinishArchiveRun(ArchiveRunResult(ArchiveOutcome::NothingToArchive));
        return NothingToDo;
    }
    const InterruptGuard guard;
    const ArchiveRunResult result = run.CheckArchiveDirectory();
    display.Finish();
    run.FinishArchiveRun(result);
    return Report(result, run);
}

}  // namespace arkivo::cli
