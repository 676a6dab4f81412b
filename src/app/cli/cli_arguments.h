#pragma once
// The command line of the arkivo tool:
//
//   arkivo items   SOURCE [--json]
//   arkivo domains SOURCE [FILTERS] [--json]
//   arkivo archive SOURCE [FILTERS] [ARCHIVE OPTIONS]
//   arkivo delete  SOURCE [FILTERS] [--yes]
//   arkivo search  [DIR] [--url TEXT] [--text TEXT] [--json]
//   arkivo COMMAND --help
//   arkivo --help | --version
//
// SOURCE is exactly one of --nav [INDEX] (a Netscape cache index) or --ie [CACHE]
// (an Internet Explorer cache); the operand is the next argument when it does not
// start with "--". search takes no source: DIR is the archive directory to search
// (default: the stored "Search directory"), and at least one of --url and --text. Options that take
// a value accept it as the next argument or after "=" (--to=DIR). Help texts are in help_text.h.

#include <optional>
#include <string>
#include <vector>

#include "explorer/age_filter.h"
#include "explorer/domain_grouping.h"
#include "shell/program_settings.h"

namespace arkivo::cli {

enum class SourceKind { None, Nav, IE };

struct SourceChoice {
    SourceKind kind = SourceKind::None;
    std::string path;  // empty: the source's default location
};

enum class Action { Help, Version, Items, Domains, Archive, Delete, Search };

// The Cache Explorer's choices: domains, age window, type switches.
struct Filters {
    std::vector<std::string> domains;  // whole names, letter case ignored; empty: every domain
    AgeChoice age = AgeChoice::AllAges;
    int amount = 0;
    AgeUnit unit = AgeUnit::Hours;
    TypeSwitches types;
};

// Overrides of the stored archive settings; unset means the stored value.
struct ArchiveChoices {
    std::string to;  // empty: the stored archive directory
    std::optional<bool> originalUrls;
    std::optional<bool> strikeout;
    std::optional<bool> emphasize;
    std::optional<EmphasisPreset> emphasis;
};

// What to search for and where; an empty text is not searched for.
struct SearchChoices {
    std::string dir;  // empty: the stored search directory
    std::string url;
    std::string text;
};

struct CliArguments {
    Action action = Action::Help;
    std::optional<Action> helpTopic;  // with Help: the command whose help is asked for
    SourceChoice source;
    bool json = false;
    Filters filters;
    ArchiveChoices archive;
    bool yes = false;
    SearchChoices search;
};

// The parsed command line, or the usage error that stops it.
struct ParsedArguments {
    CliArguments arguments;
    std::string error;  // empty when the command line is valid
};

ParsedArguments ParseArguments(const std::vector<std::string>& args);

}  // namespace arkivo::cli
