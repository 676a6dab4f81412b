#include "delete_command.h"

#include <unistd.h>

#include <iostream>
#include <string>

#include "cache_selection.h"
#include "console.h"
#include "exit_status.h"
#include "explorer/cache_deletion.h"
#include "explorer/explorer_texts.h"
#include "model/edition.h"
#include "model/url.h"
#include "sources.h"

namespace arkivo::cli {
namespace {

// Asks the question on standard error and reads the answer from the terminal.
bool UserSaysYes(const std::string& question) {
    std::string text = PlainLines(question);
    while (text.ends_with('\n')) {
        text.pop_back();
    }
    std::cerr << text << "\n[y]es, [n]o or [c]ancel? " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        std::cerr << '\n';
        return false;
    }
    answer = LowerCase(answer);
    return answer == "y" || answer == "yes";
}

// Deletes the chosen items; with none chosen it still finishes what earlier deletes
// left marked for deletion.
DeletionResult DeleteItems(const CliArguments& arguments, CacheSelection& selection) {
    const Edition edition = EditionOf(arguments.Source.Kind);
    const auto deleter =
        MakeCacheEntryDeleter(edition, edition == Edition::IE ? arguments.Source.Path : "");
    return DeleteChosenItems(selection.Items, selection.Grouping, selection.Switches, *deleter);
}

void ReportEarlierDeletions(const DeletionResult& result) {
    if (result.EarlierDeleted + result.EarlierMarked > 0) {
        Print("earlier deletions: " + ItemCount(result.EarlierDeleted) + " finished, " +
              std::to_string(result.EarlierMarked) +
              " still marked for deletion (files still on disk)\n");
    }
}

}  // namespace

int DeleteChosenItemsFromCache(const CliArguments& arguments) {
    CacheSelection selection;
    int status = SelectItems(arguments, selection);
    if (status == Success && selection.Grouping.ChosenCount(selection.Switches) == 0) {
        Complain(NoFilesToDeleteText);
        status = NothingToDo;
    }
    if (status == NothingToDo) {
        // Entries an earlier delete left marked for deletion are no longer listed, so
        // a cache may list nothing while they wait; they are finished all the same.
        const DeletionResult result = DeleteItems(arguments, selection);
        if (result.EarlierDeleted + result.EarlierMarked == 0) {
            return NothingToDo;
        }
        ReportEarlierDeletions(result);
        if (!result.Outcome.ok()) {
            Complain(PlainLines(result.Outcome.message()));
            return RunFailed;
        }
        return NothingToDo;
    }
    if (status != Success) {
        return status;
    }
    if (!arguments.Yes) {
        if (::isatty(STDIN_FILENO) != 1) {
            Complain("no terminal to ask on; nothing deleted (add --yes to delete without asking)");
            return UsageFailure;
        }
        const std::string question =
            DeleteQuestion(selection.AllAges, selection.Grouping, selection.Switches);
        if (!UserSaysYes(question)) {
            Complain("nothing deleted");
            return RunFailed;
        }
    }
    const DeletionResult result = DeleteItems(arguments, selection);
    ReportEarlierDeletions(result);
    Print(DeletionCountsText(result.Deleted, result.MarkedForDeletion, result.NotDeleted) + "\n");
    if (!result.Outcome.ok()) {
        Complain(PlainLines(result.Outcome.message()));
        return RunFailed;
    }
    if (result.MarkedForDeletion > 0) {
        Complain(ItemCount(result.MarkedForDeletion) +
                 " marked for deletion: their files could not be removed; the next delete "
                 "tries again");
    }
    if (result.NotDeleted > 0) {
        const std::string why =
            result.FirstRefusal.empty() ? "" : "; the first: " + result.FirstRefusal;
        Complain(PlainLines(ItemCount(result.NotDeleted) + " could not be deleted and " +
                            (result.NotDeleted == 1 ? "stays" : "stay") + " in the cache" + why));
    }
    return result.MarkedForDeletion + result.NotDeleted > 0 ? RunFailed : Success;
}

}  // namespace arkivo::cli
