// arkivo: the command-line face of the core. See cli_arguments.h for the command
// line; messages go to standard error, results to standard output.

#include <cstdio>
#include <string>
#include <vector>

#include "cli_arguments.h"
#include "item_output.h"
#include "model/content_types.h"
#include "sources.h"
#include "stderr_dialogs.h"

namespace {

using namespace arkivo;
using namespace arkivo::cli;

// Exit statuses.
constexpr int Success = 0;
constexpr int NothingToDo = 1;
constexpr int UsageFailure = 2;
constexpr int InputUnreadable = 3;
constexpr int RunFailed = 4;

bool Print(const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
           std::fflush(stdout) == 0;
}

int ListItems(const CliArguments& arguments) {
    TCacheItemList items;
    const Status read = ReadSource(arguments.source, items);
    if (!read.ok()) {
        std::fprintf(stderr, "arkivo: %s\n", read.message().c_str());
        const bool unreadable =
            read.code() == StatusCode::NotFound || read.code() == StatusCode::Unreadable;
        return unreadable ? InputUnreadable : RunFailed;
    }
    if (items.empty()) {
        std::fprintf(stderr, "arkivo: the cache holds no items\n");
        return NothingToDo;
    }
    if (!Print(arguments.json ? ItemsAsJson(items) : ItemsAsText(items))) {
        std::fprintf(stderr, "arkivo: cannot write the output\n");
        return RunFailed;
    }
    return Success;
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedArguments parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "arkivo: %s\nTry 'arkivo --help'.\n", parsed.error.c_str());
        return UsageFailure;
    }
    switch (parsed.arguments.action) {
        case Action::Help:
            return Print(UsageText()) ? Success : RunFailed;
        case Action::Version:
            return Print("arkivo " ARKIVO_VERSION "\n") ? Success : RunFailed;
        case Action::Items:
            break;
    }
    StderrDialogs dialogs;
    ScopedDialogs installed(dialogs);
    LoadMimeTypes();
    return ListItems(parsed.arguments);
}
