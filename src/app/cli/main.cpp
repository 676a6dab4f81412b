// arkivo: the command-line face of the core. See cli_arguments.h for the command
// line; messages go to standard error, results to standard output.

#include <string>
#include <vector>

#include "archive_command.h"
#include "cli_arguments.h"
#include "console.h"
#include "delete_command.h"
#include "domains_command.h"
#include "exit_status.h"
#include "help_text.h"
#include "items_command.h"
#include "model/content_types.h"
#include "search_command.h"
#include "stderr_dialogs.h"
#include "warc_command.h"

int main(int argc, char** argv) {
    using namespace arkivo;
    using namespace arkivo::cli;

    const ParsedArguments parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.Error.empty()) {
        Complain(PrintableText(parsed.Error) + "\nTry 'arkivo --help'.");
        return UsageFailure;
    }
    const CliArguments& arguments = parsed.Arguments;
    StderrDialogs dialogs;
    ScopedDialogs installed(dialogs);
    if (arguments.Command != Action::Help && arguments.Command != Action::Version) {
        LoadMimeTypes();
    }
    switch (arguments.Command) {
        case Action::Help:
            return Print(UsageText(arguments.HelpTopic)) ? Success : RunFailed;
        case Action::Version:
            return Print("arkivo " ARKIVO_VERSION "\n") ? Success : RunFailed;
        case Action::Items:
            return ListItems(arguments);
        case Action::Domains:
            return ListDomains(arguments);
        case Action::Archive:
            return ArchiveChosenItems(arguments);
        case Action::Delete:
            return DeleteChosenItemsFromCache(arguments);
        case Action::Search:
            return SearchArchiveDirectory(arguments);
        case Action::Warc:
            return ExportChosenItems(arguments);
    }
    return RunFailed;
}
