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
    if (selection.Grouping.ChosenCount(selection.Switches) == 0) {
        Complain(NoFilesToDeleteText);
        return NothingToDo;
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
    const Edition edition = EditionOf(arguments.Source.Kind);
    const auto deleter =
        MakeCacheEntryDeleter(edition, edition == Edition::IE ? arguments.Source.Path : "");
    const DeletionResult result =
        DeleteChosenItems(selection.Items, selection.Grouping, selection.Switches, *deleter);
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
