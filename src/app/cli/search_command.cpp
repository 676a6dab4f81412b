#include "search_command.h"

#include <algorithm>
#include <vector>

#include "console.h"
#include "exit_status.h"
#include "interrupt_guard.h"
#include "platform/json_text.h"
#include "search/archive_search.h"
#include "search/search_input.h"
#include "search/search_settings.h"

namespace arkivo::cli {
namespace {

std::string ClassName(FileClass fileClass) {
    switch (fileClass) {
        case FileClass::Text:
            return "text";
        case FileClass::Image:
            return "image";
        case FileClass::Audio:
            return "audio";
        case FileClass::Video:
            return "video";
        case FileClass::Other:
            break;
    }
    return "other";
}

std::string HitsAsJson(const std::vector<SearchHit>& hits) {
    std::string out;
    for (const SearchHit& hit : hits) {
        out += "{\"url\": " + JsonString(hit.Url) + ", \"file\": " + JsonString(hit.File) +
               ", \"class\": " + JsonString(ClassName(hit.Class)) + "}\n";
    }
    return out;
}

// CLASS and URL left-aligned in columns as wide as their longest entry, then FILE.
std::string HitsAsText(const std::vector<SearchHit>& hits) {
    std::size_t urlWidth = 3;
    for (const SearchHit& hit : hits) {
        urlWidth = std::max(urlWidth, PrintableText(hit.Url).size());
    }
    const auto line = [urlWidth](const std::string& fileClass, const std::string& url,
                                 const std::string& file) {
        return fileClass + std::string(7 - fileClass.size(), ' ') + url +
               std::string(urlWidth - url.size() + 2, ' ') + file + "\n";
    };
    std::string out = line("CLASS", "URL", "FILE");
    for (const SearchHit& hit : hits) {
        out += line(ClassName(hit.Class), PrintableText(hit.Url), PrintableText(hit.File));
    }
    return out;
}

}  // namespace

int SearchArchiveDirectory(const CliArguments& arguments) {
    const SearchChoices& choices = arguments.Search;
    const std::string directory =
        choices.Dir.empty() ? StoredSearchDirectory(SettingsStore()) : choices.Dir;
    const SearchInputCheck check = CheckSearchInput(choices.Url, choices.Text, directory);
    if (check != SearchInputCheck::Ok) {
        Complain(PlainLines(SearchInputMessage(check, directory)));
        return InputUnreadable;
    }
    std::vector<SearchHit> hits;
    InterruptGuard interrupts;
    SearchCallbacks callbacks;
    callbacks.HitFound = [&hits](const SearchHit& hit) { hits.push_back(hit); };
    callbacks.StopRequested = [] { return InterruptGuard::Interrupted(); };
    const SearchOutcome outcome = SearchArchive({directory, choices.Url, choices.Text}, callbacks);
    if (!hits.empty() && !Print(arguments.Json ? HitsAsJson(hits) : HitsAsText(hits))) {
        Complain("cannot write the output");
        return RunFailed;
    }
    switch (outcome.End) {
        case SearchEnd::Finished:
            break;
        case SearchEnd::Stopped:
            Complain("search stopped; " + ItemCount(hits.size()) + " found before the stop");
            return RunFailed;
        case SearchEnd::ArchiveInfoUnreadable:
            Complain("cannot read " + PrintableText(SearchDirectoryOf(directory)) + "archive.dat");
            return InputUnreadable;
        case SearchEnd::Failed:
            Complain("search ended early: an archived page in " + PrintableText(directory) +
                     " cannot be read");
            return RunFailed;
    }
    if (hits.empty()) {
        Complain(std::string(NoFilesFoundText));
        return NothingToDo;
    }
    return Success;
}

}  // namespace arkivo::cli
