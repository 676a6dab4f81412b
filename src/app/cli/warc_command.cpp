#include "warc_command.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "cache_selection.h"
#include "console.h"
#include "exit_status.h"
#include "interrupt_guard.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/unique_fd.h"
#include "progress_display.h"
#include "sources.h"
#include "webarchive/cdxj.h"
#include "webarchive/web_archive_export.h"

namespace arkivo::cli {
namespace {

constexpr std::string_view WaczExtension = ".wacz";
constexpr std::string_view WarcExtension = ".warc.gz";

// An output file named on the command line: its folder, opened.
struct OutputFile {
    UniqueFd Dir;
    ExportTarget Target;
};

bool OpenOutput(const std::string& path, OutputFile& output) {
    const std::string dir = DirectoryPart(path);
    output.Dir =
        UniqueFd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!output.Dir.Valid()) {
        Complain("cannot open the folder of " + PrintableText(path) + ": " + std::strerror(errno));
        return false;
    }
    output.Target = ExportTarget{output.Dir.Get(), FileNamePart(path), path};
    return true;
}

// The WARC's own name: the --to file's, else the package's with .warc.gz for .wacz.
std::string WarcNameOf(const WarcChoices& choices) {
    if (!choices.To.empty()) {
        return FileNamePart(choices.To);
    }
    std::string name = FileNamePart(choices.Wacz);
    if (name.size() > WaczExtension.size() && name.ends_with(WaczExtension)) {
        name.resize(name.size() - WaczExtension.size());
    }
    return name + std::string(WarcExtension);
}

int Report(const WebArchiveExport& result, const WarcChoices& choices) {
    if (result.Cancelled) {
        Complain("cancelled; nothing was written");
        return RunFailed;
    }
    if (!result.Error.ok()) {
        Complain(PlainLines(result.Error.message()) + "; nothing was written");
        return RunFailed;
    }
    std::string written = ItemCount(result.Written) + " written to ";
    written += PrintableText(choices.To.empty() ? choices.Wacz : choices.To);
    if (!choices.To.empty() && !choices.Wacz.empty()) {
        written += " and " + PrintableText(choices.Wacz);
    }
    if (!Print(written + "\n")) {
        Complain("cannot write the output");
        return RunFailed;
    }
    if (result.Skipped > 0) {
        Complain(ItemCount(result.Skipped) + " skipped: their cached files could not be read; " +
                 "the first: " + PlainLines(result.FirstSkip));
        return RunFailed;
    }
    return result.Written > 0 ? Success : NothingToDo;
}

}  // namespace

int ExportChosenItems(const CliArguments& arguments) {
    CacheSelection selection;
    if (const int status = SelectItems(arguments, selection); status != Success) {
        return status;
    }
    std::vector<const TCacheItem*> chosen;
    for (const auto& item : selection.Items) {
        if (selection.Grouping.IsChosen(*item, selection.Switches)) {
            chosen.push_back(item.get());
        }
    }
    if (chosen.empty()) {
        Complain("no item is chosen");
        return NothingToDo;
    }

    const WarcChoices& choices = arguments.Warc;
    OutputFile warc;
    OutputFile wacz;
    WebArchiveTargets targets;
    targets.WarcName = WarcNameOf(choices);
    if (!choices.To.empty()) {
        if (!OpenOutput(choices.To, warc)) {
            return RunFailed;
        }
        targets.Warc = warc.Target;
    }
    if (!choices.Wacz.empty()) {
        if (!OpenOutput(choices.Wacz, wacz)) {
            return RunFailed;
        }
        targets.Wacz = wacz.Target;
    }

    ProgressDisplay display;
    display.Stage("Writing the web archive");
    const InterruptGuard guard;
    const WebArchiveExport result =
        ExportWebArchive(chosen, WarcSourceOf(EditionOf(arguments.Source.Kind), chosen), targets,
                         std::time(nullptr), [&display, total = chosen.size()](std::size_t done) {
                             display.Progress(static_cast<int>(done * 100 / total));
                             return !InterruptGuard::Interrupted();
                         });
    display.Finish();
    if (result.Error.ok() && !choices.Cdxj.empty()) {
        if (const Status written = WriteFileAtomically(choices.Cdxj, CdxjText(result.CdxjLines));
            !written.ok()) {
            Complain(PlainLines(written.message()));
            return RunFailed;
        }
    }
    return Report(result, choices);
}

}  // namespace arkivo::cli
