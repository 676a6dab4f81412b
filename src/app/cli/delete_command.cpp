#include "delete_command.h"

#include <unistd.h>

#include <iostream>
#include <string>

#include "cache_selection.h"
#include "console.h"
#include "exit_status.h"
#include "explorer/cache_deletion.h"
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

}  // namespace

int DeleteChosenItemsFromCache(const CliArguments& arguments) {
    CacheSelection selection;
    if (const int status = SelectItems(arguments, selection); status != Success) {
        return status;
    }
    if (selection.grouping.ChosenCount(selection.switches) == 0) {
        Complain(NoFilesToDeleteText);
        return NothingToDo;
    }
    if (!arguments.yes) {
        if (::isatty(STDIN_FILENO) != 1) {
            Complain("no terminal to ask on; nothing deleted (add --yes to delete without asking)");
            return UsageFailure;
        }
        const std::string question =
            DeleteQuestion(selection.allAges, selection.grouping, selection.switches);
        if (!UserSaysYes(question)) {
            Complain("nothing deleted");
            return RunFailed;
        }
    }
    const Edition edition = EditionOf(arguments.source.kind);
    const auto deleter =
        MakeCacheEntryDeleter(edition, edition == Edition::IE ? arguments.source.path : "");
    const DeletionResult result =
        DeleteChosenItems(selection.items, selection.grouping, selection.switches, *deleter);
    Print(ItemCount(result.Deleted) + " deleted, " + ItemCount(result.NotDeleted) +
          " not deleted\n");
    if (!result.Outcome.ok()) {
        Complain(result.Outcome.message());
        return RunFailed;
    }
    if (result.NotDeleted > 0) {
        Complain(ItemCount(result.NotDeleted) + " could not be deleted and are still in the cache");
        return RunFailed;
    }
    return Success;
}

}  // namespace arkivo::cli
