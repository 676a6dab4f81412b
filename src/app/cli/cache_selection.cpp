#include "cache_selection.h"

#include "console.h"
#include "exit_status.h"
#include "platform/clock.h"
#include "sources.h"

namespace arkivo::cli {
namespace {

// Keeps only the wanted domains in "Archive/Delete"; names one that has no items.
void ChooseDomains(const std::vector<std::string>& wanted, bool allAges, DomainGrouping& grouping) {
    if (wanted.empty()) {
        return;
    }
    DomainNameList wantedNames;
    wantedNames.Assign(wanted);
    std::vector<std::string> others;
    for (const std::string& name : grouping.DstList().Names()) {
        if (!wantedNames.Contains(name)) {
            others.push_back(name);
        }
    }
    grouping.MoveToSrc(others);
    for (const std::string& name : wantedNames.Names()) {
        if (!grouping.DstList().Contains(name)) {
            Complain("no items of the domain '" + PrintableText(name) + "'" +
                     (allAges ? "" : " in the age window"));
        }
    }
}

}  // namespace

int ReadItems(const SourceChoice& source, TCacheItemList& items) {
    const Status read = ReadSource(source, items);
    if (!read.ok()) {
        Complain(PlainLines(read.message()));
        const bool unreadable =
            read.code() == StatusCode::NotFound || read.code() == StatusCode::Unreadable;
        return unreadable ? InputUnreadable : RunFailed;
    }
    if (items.empty()) {
        Complain("the cache holds no items");
        return NothingToDo;
    }
    return Success;
}

int SelectItems(const CliArguments& arguments, CacheSelection& selection) {
    const FilterChoices& filters = arguments.Filters;
    const double now = Now();
    if (const int status = ReadItems(arguments.Source, selection.Items); status != Success) {
        return status;
    }
    selection.AllAges = filters.Age == AgeChoice::AllAges;
    selection.Switches = filters.Types;
    selection.Grouping.BuildDomainList(
        selection.Items, AgeWindowFor(filters.Age, filters.Amount, filters.Unit, now));
    ChooseDomains(filters.Domains, selection.AllAges, selection.Grouping);
    return Success;
}

}  // namespace arkivo::cli
