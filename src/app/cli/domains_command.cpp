#include "domains_command.h"

#include <algorithm>
#include <array>
#include <vector>

#include "cache_selection.h"
#include "console.h"
#include "exit_status.h"
#include "platform/json_text.h"

namespace arkivo::cli {
namespace {

// The domains in "Archive/Delete" with the counts of the switched-on groups;
// domains with nothing chosen are left out.
std::vector<DomainSummary> ChosenDomains(const CacheSelection& selection) {
    const TypeSwitches& on = selection.Switches;
    std::vector<DomainSummary> rows;
    for (const DomainSummary& summary : selection.Grouping.DomainList()) {
        if (!selection.Grouping.DstList().Contains(summary.Name)) {
            continue;
        }
        DomainSummary row{summary.Name, on.Text ? summary.TextCount : 0,
                          on.Media ? summary.MediaCount : 0, on.Other ? summary.OtherCount : 0};
        if (row.TextCount + row.MediaCount + row.OtherCount > 0) {
            rows.push_back(std::move(row));
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const DomainSummary& a, const DomainSummary& b) {
        return DomainNameLess(a.Name, b.Name);
    });
    return rows;
}

std::string DomainsAsJson(const std::vector<DomainSummary>& rows) {
    std::string out;
    for (const DomainSummary& row : rows) {
        out += "{\"domain\": " + JsonString(row.Name) +
               ", \"text\": " + std::to_string(row.TextCount) +
               ", \"media\": " + std::to_string(row.MediaCount) +
               ", \"other\": " + std::to_string(row.OtherCount) + "}\n";
    }
    return out;
}

// The domain left-aligned, the three counts right-aligned under their headings.
std::string DomainsAsText(const std::vector<DomainSummary>& rows) {
    using Row = std::array<std::string, 4>;
    std::vector<Row> table = {{"DOMAIN", "TEXT", "MEDIA", "OTHER"}};
    for (const DomainSummary& row : rows) {
        table.push_back({PrintableText(row.Name), std::to_string(row.TextCount),
                         std::to_string(row.MediaCount), std::to_string(row.OtherCount)});
    }
    std::array<std::size_t, 4> widths{};
    for (const Row& row : table) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    std::string out;
    for (const Row& row : table) {
        out += row[0] + std::string(widths[0] - row[0].size(), ' ');
        for (std::size_t column = 1; column < row.size(); ++column) {
            out += std::string(widths[column] - row[column].size() + 2, ' ') + row[column];
        }
        out += '\n';
    }
    return out;
}

}  // namespace

int ListDomains(const CliArguments& arguments) {
    CacheSelection selection;
    if (const int status = SelectItems(arguments, selection); status != Success) {
        return status;
    }
    const std::vector<DomainSummary> rows = ChosenDomains(selection);
    if (rows.empty()) {
        Complain("nothing chosen");
        return NothingToDo;
    }
    if (!Print(arguments.Json ? DomainsAsJson(rows) : DomainsAsText(rows))) {
        Complain("cannot write the output");
        return RunFailed;
    }
    return Success;
}

}  // namespace arkivo::cli
