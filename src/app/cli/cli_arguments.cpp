#include "cli_arguments.h"

namespace arkivo::cli {
namespace {

bool IsOption(const std::string& arg) {
    return arg.starts_with("--");
}

ParsedArguments UsageError(std::string message) {
    ParsedArguments parsed;
    parsed.error = std::move(message);
    return parsed;
}

}  // namespace

std::string UsageText() {
    return "Usage: arkivo items SOURCE [--json]\n"
           "       arkivo --help | --version\n"
           "\n"
           "Lists the items of a browser cache, in the order the cache holds them.\n"
           "\n"
           "Source (exactly one):\n"
           "  --nav [INDEX]   a Netscape cache index (FAT or FAT.DB, any name); without\n"
           "                  INDEX the stored \"FAT Path\" setting, else the index found\n"
           "                  through the Navigator registry values of the Wine prefix\n"
           "  --ie [CACHE]    an Internet Explorer cache: a Content.IE5 directory or the\n"
           "                  index.dat in it\n"
           "\n"
           "Output:\n"
           "  --json          one JSON object per item: url, domain, kind, type, group,\n"
           "                  date, file\n"
           "\n"
           "Exit status: 0 items listed, 1 no items, 2 usage error, 3 the source cannot\n"
           "be read, 4 the run failed.\n";
}

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    ParsedArguments parsed;
    if (args.empty()) {
        return UsageError("no command given");
    }
    if (args.size() == 1 && args[0] == "--help") {
        parsed.arguments.action = Action::Help;
        return parsed;
    }
    if (args.size() == 1 && args[0] == "--version") {
        parsed.arguments.action = Action::Version;
        return parsed;
    }
    if (args[0] != "items") {
        return UsageError(IsOption(args[0]) ? "unknown option '" + args[0] + "'"
                                            : "unknown command '" + args[0] + "'");
    }
    CliArguments& arguments = parsed.arguments;
    arguments.action = Action::Items;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--nav" || arg == "--ie") {
            if (arguments.source.kind != SourceKind::None) {
                return UsageError("give exactly one source (--nav or --ie)");
            }
            arguments.source.kind = arg == "--nav" ? SourceKind::Nav : SourceKind::IE;
            if (i + 1 < args.size() && !IsOption(args[i + 1])) {
                arguments.source.path = args[++i];
                if (arguments.source.path.empty()) {
                    return UsageError(arg + " was given an empty path");
                }
            }
        } else if (arg == "--json") {
            arguments.json = true;
        } else if (IsOption(arg)) {
            return UsageError("unknown option '" + arg + "'");
        } else {
            return UsageError("unexpected argument '" + arg + "'");
        }
    }
    if (arguments.source.kind == SourceKind::None) {
        return UsageError("items needs a source (--nav or --ie)");
    }
    return parsed;
}

}  // namespace arkivo::cli
