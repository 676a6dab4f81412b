#pragma once
// The command line of the arkivo tool:
//
//   arkivo items   SOURCE [--json]
//   arkivo domains SOURCE [FILTERS] [--json]
//   arkivo archive SOURCE [FILTERS] [ARCHIVE OPTIONS]
//   arkivo delete  SOURCE [FILTERS] [--yes]
//   arkivo search  [DIR] [--url TEXT] [--text TEXT] [--json]
//   arkivo warc    SOURCE [FILTERS] [--to FILE.warc.gz] [--cdxj FILE] [--wacz FILE]
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
    SourceKind Kind = SourceKind::None;
    std::string Path;  // empty: the source's default location
};

enum class Action { Help, Version, Items, Domains, Archive, Delete, Search, Warc };

// The Cache Explorer's choices: domains, age window, type switches.
struct FilterChoices {
    std::vector<std::string> Domains;  // whole names, letter case ignored; empty: every domain
    AgeChoice Age = AgeChoice::AllAges;
    int Amount = 0;
    AgeUnit Unit = AgeUnit::Hours;
    TypeSwitches Types;
};

// Overrides of the stored archive settings; unset means the stored value.
struct ArchiveChoices {
    std::string To;  // empty: the stored archive directory
    std::optional<bool> OriginalUrls;
    std::optional<bool> Strikeout;
    std::optional<bool> Emphasize;
    std::optional<EmphasisPreset> Emphasis;
    std::optional<bool> WebArchive;  // also write a WARC of the archived items
};

// The files warc writes; at least one of To and Wacz is given.
struct WarcChoices {
    std::string To;    // the .warc.gz file
    std::string Cdxj;  // its CDXJ index
    std::string Wacz;  // a WACZ package of it
};

// What to search for and where; an empty text is not searched for.
struct SearchChoices {
    std::string Dir;  // empty: the stored search directory
    std::string Url;
    std::string Text;
};

struct CliArguments {
    Action Command = Action::Help;
    std::optional<Action> HelpTopic;  // with Help: the command whose help is asked for
    SourceChoice Source;
    bool Json = false;
    FilterChoices Filters;
    ArchiveChoices Archive;
    bool Yes = false;
    SearchChoices Search;
    WarcChoices Warc;
};

// The parsed command line, or the usage error that stops it.
struct ParsedArguments {
    CliArguments Arguments;
    std::string Error;  // empty when the command line is valid
};

ParsedArguments ParseArguments(const std::vector<std::string>& args);

}  // namespace arkivo::cli
