#pragma once
// The command line of the arkivo tool:
//
//   arkivo items SOURCE [--json]
//   arkivo --help | --version
//
// SOURCE is exactly one of --nav [INDEX] (a Netscape cache index) or --ie [CACHE]
// (an Internet Explorer cache); the operand is the next argument when it does not
// start with "--".

#include <string>
#include <vector>

namespace arkivo::cli {

enum class SourceKind { None, Nav, IE };

struct SourceChoice {
    SourceKind kind = SourceKind::None;
    std::string path;  // empty: the source's default location
};

enum class Action { Help, Version, Items };

struct CliArguments {
    Action action = Action::Help;
    SourceChoice source;
    bool json = false;
};

// The parsed command line, or the usage error that stops it.
struct ParsedArguments {
    CliArguments arguments;
    std::string error;  // empty when the command line is valid
};

ParsedArguments ParseArguments(const std::vector<std::string>& args);

// The text --help prints.
std::string UsageText();

}  // namespace arkivo::cli
