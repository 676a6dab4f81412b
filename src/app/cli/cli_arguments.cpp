#include "cli_arguments.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace arkivo::cli {
namespace {

struct CommandName {
    std::string_view Name;
    Action Command;
};

constexpr std::array<CommandName, 6> Commands = {{
    {"items", Action::Items},
    {"domains", Action::Domains},
    {"archive", Action::Archive},
    {"delete", Action::Delete},
    {"search", Action::Search},
    {"warc", Action::Warc},
}};

constexpr unsigned Bit(Action action) {
    return 1u << static_cast<unsigned>(action);
}

constexpr unsigned SourceCommands = Bit(Action::Items) | Bit(Action::Domains) |
                                    Bit(Action::Archive) | Bit(Action::Delete) | Bit(Action::Warc);
constexpr unsigned FilterCommands =
    Bit(Action::Domains) | Bit(Action::Archive) | Bit(Action::Delete) | Bit(Action::Warc);

enum class OptionId {
    Nav,
    IE,
    Json,
    Domain,
    Newer,
    Older,
    Types,
    To,
    OriginalUrls,
    NoOriginalUrls,
    Strikeout,
    NoStrikeout,
    Emphasize,
    NoEmphasize,
    Warc,
    NoWarc,
    Cdxj,
    Wacz,
    Yes,
    Url,
    Text,
    Help,
    Version,
};

// Every option after a command word: whether it takes a value and which commands
// accept it. The parser works on the id; the name is spelled here alone.
struct OptionRule {
    std::string_view Name;
    OptionId Id;
    bool TakesValue;
    unsigned AcceptedBy;
};

constexpr std::array<OptionRule, 23> Options = {{
    {"--nav", OptionId::Nav, true, SourceCommands},
    {"--ie", OptionId::IE, true, SourceCommands},
    {"--json", OptionId::Json, false,
     Bit(Action::Items) | Bit(Action::Domains) | Bit(Action::Search)},
    {"--domain", OptionId::Domain, true, FilterCommands},
    {"--newer", OptionId::Newer, true, FilterCommands},
    {"--older", OptionId::Older, true, FilterCommands},
    {"--types", OptionId::Types, true, FilterCommands},
    {"--to", OptionId::To, true, Bit(Action::Archive) | Bit(Action::Warc)},
    {"--original-urls", OptionId::OriginalUrls, false, Bit(Action::Archive)},
    {"--no-original-urls", OptionId::NoOriginalUrls, false, Bit(Action::Archive)},
    {"--strikeout", OptionId::Strikeout, false, Bit(Action::Archive)},
    {"--no-strikeout", OptionId::NoStrikeout, false, Bit(Action::Archive)},
    // PRESET is optional, only after "="
    {"--emphasize", OptionId::Emphasize, true, Bit(Action::Archive)},
    {"--no-emphasize", OptionId::NoEmphasize, false, Bit(Action::Archive)},
    {"--warc", OptionId::Warc, false, Bit(Action::Archive)},
    {"--no-warc", OptionId::NoWarc, false, Bit(Action::Archive)},
    {"--cdxj", OptionId::Cdxj, true, Bit(Action::Warc)},
    {"--wacz", OptionId::Wacz, true, Bit(Action::Warc)},
    {"--yes", OptionId::Yes, false, Bit(Action::Delete)},
    {"--url", OptionId::Url, true, Bit(Action::Search)},
    {"--text", OptionId::Text, true, Bit(Action::Search)},
    // Handled before the options are parsed.
    {"--help", OptionId::Help, false, 0},
    {"--version", OptionId::Version, false, 0},
}};

bool IsOption(const std::string& arg) {
    return arg.starts_with("--");
}

// AGE: a whole number followed by h, d or w.
bool ParseAge(const std::string& text, int& amount, AgeUnit& unit) {
    if (text.size() < 2 || text.size() > 10) {
        return false;
    }
    const std::string_view digits(text.data(), text.size() - 1);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    switch (text.back()) {
        case 'h':
            unit = AgeUnit::Hours;
            break;
        case 'd':
            unit = AgeUnit::Days;
            break;
        case 'w':
            unit = AgeUnit::Weeks;
            break;
        default:
            return false;
    }
    amount = std::stoi(std::string(digits));
    return true;
}

// LIST: a comma-separated subset of text, media and other.
bool ParseTypes(const std::string& text, TypeSwitches& types) {
    types = TypeSwitches{false, false, false};
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string name = text.substr(start, comma - start);
        if (name == "text") {
            types.Text = true;
        } else if (name == "media") {
            types.Media = true;
        } else if (name == "other") {
            types.Other = true;
        } else {
            return false;
        }
        if (comma == std::string::npos) {
            return true;
        }
        start = comma + 1;
    }
}

std::optional<EmphasisPreset> ParseEmphasis(const std::string& text) {
    if (text == "bold") {
        return EmphasisPreset::Bold;
    }
    if (text == "italic") {
        return EmphasisPreset::Italic;
    }
    if (text == "larger") {
        return EmphasisPreset::Larger;
    }
    if (text == "custom") {
        return EmphasisPreset::Custom;
    }
    return std::nullopt;
}

class Parser {
  public:
    Parser(const std::vector<std::string>& args, Action command) : args_(args) {
        arguments_.Command = command;
    }

    // The options after the command word; an empty text when they are valid.
    std::string Parse() {
        for (next_ = 1; next_ < args_.size();) {
            std::string arg = args_[next_++];
            std::optional<std::string> attached;
            if (const std::size_t equals = arg.find('='); IsOption(arg) && equals != arg.npos) {
                attached = arg.substr(equals + 1);
                arg.resize(equals);
            }
            if (std::string error = Option(arg, attached); !error.empty()) {
                return error;
            }
        }
        if (arguments_.Command == Action::Search) {
            const SearchChoices& search = arguments_.Search;
            return search.Url.empty() && search.Text.empty()
                       ? "search needs a text to find (--url or --text)"
                       : "";
        }
        if (arguments_.Source.Kind == SourceKind::None) {
            return CommandName() + " needs a source (--nav or --ie)";
        }
        if (arguments_.Command == Action::Warc && arguments_.Warc.To.empty() &&
            arguments_.Warc.Wacz.empty()) {
            return "warc needs a file to write (--to FILE.warc.gz or --wacz FILE.wacz)";
        }
        return "";
    }

    const CliArguments& Arguments() const { return arguments_; }

  private:
    std::string CommandName() const { return args_[0]; }

    // The value of an option: after "=", else the next argument.
    std::string Value(const std::string& option, const std::optional<std::string>& attached,
                      std::string& value) {
        if (attached) {
            value = *attached;
        } else if (next_ < args_.size() && !IsOption(args_[next_])) {
            value = args_[next_++];
        } else {
            return "'" + option + "' needs a value";
        }
        return value.empty() ? "'" + option + "' was given an empty value" : "";
    }

    std::string Option(const std::string& arg, const std::optional<std::string>& attached) {
        if (!IsOption(arg)) {
            return Operand(arg);
        }
        const auto rule = std::find_if(Options.begin(), Options.end(),
                                       [&](const OptionRule& o) { return o.Name == arg; });
        if (rule == Options.end()) {
            return "unknown option '" + arg + "'";
        }
        if ((rule->AcceptedBy & Bit(arguments_.Command)) == 0) {
            return "'" + arg + "' is not an option of the " + CommandName() + " command";
        }
        if (attached && !rule->TakesValue) {
            return "'" + arg + "' takes no value";
        }
        switch (rule->Id) {
            case OptionId::Nav:
            case OptionId::IE:
                return Source(arg, rule->Id, attached);
            case OptionId::Json:
                arguments_.Json = true;
                return "";
            case OptionId::Yes:
                arguments_.Yes = true;
                return "";
            case OptionId::Domain:
            case OptionId::Newer:
            case OptionId::Older:
            case OptionId::Types:
                return Filter(arg, rule->Id, attached);
            case OptionId::Url:
            case OptionId::Text: {
                std::string& text =
                    rule->Id == OptionId::Url ? arguments_.Search.Url : arguments_.Search.Text;
                return text.empty() ? Value(arg, attached, text) : "'" + arg + "' was given twice";
            }
            case OptionId::Cdxj:
            case OptionId::Wacz:
                return WarcOption(arg, rule->Id, attached);
            case OptionId::To:
                if (arguments_.Command == Action::Warc) {
                    return WarcOption(arg, rule->Id, attached);
                }
                return ArchiveOption(arg, rule->Id, attached);
            default:
                return ArchiveOption(arg, rule->Id, attached);
        }
    }

    // warc's files: each given once.
    std::string WarcOption(const std::string& arg, OptionId id,
                           const std::optional<std::string>& attached) {
        WarcChoices& choices = arguments_.Warc;
        std::string& file = id == OptionId::To     ? choices.To
                            : id == OptionId::Cdxj ? choices.Cdxj
                                                   : choices.Wacz;
        return file.empty() ? Value(arg, attached, file) : "'" + arg + "' was given twice";
    }

    // An argument that is no option: search's DIR, once; anything else is wrong.
    std::string Operand(const std::string& arg) {
        if (arguments_.Command != Action::Search || !arguments_.Search.Dir.empty()) {
            return "unexpected argument '" + arg + "'";
        }
        arguments_.Search.Dir = arg;
        return arg.empty() ? "search was given an empty directory" : "";
    }

    std::string Source(const std::string& arg, OptionId id,
                       const std::optional<std::string>& attached) {
        SourceChoice& source = arguments_.Source;
        if (source.Kind != SourceKind::None) {
            return "give exactly one source (--nav or --ie)";
        }
        source.Kind = id == OptionId::Nav ? SourceKind::Nav : SourceKind::IE;
        if (attached) {
            source.Path = *attached;
        } else if (next_ < args_.size() && !IsOption(args_[next_])) {
            source.Path = args_[next_++];
        } else {
            return "";
        }
        return source.Path.empty() ? arg + " was given an empty path" : "";
    }

    std::string Filter(const std::string& arg, OptionId id,
                       const std::optional<std::string>& attached) {
        std::string value;
        if (std::string error = Value(arg, attached, value); !error.empty()) {
            return error;
        }
        FilterChoices& filters = arguments_.Filters;
        if (id == OptionId::Domain) {
            filters.Domains.push_back(value);
        } else if (id == OptionId::Types) {
            if (typesGiven_) {
                return "'" + arg + "' was given twice";
            }
            typesGiven_ = true;
            if (!ParseTypes(value, filters.Types)) {
                return "'" + arg +
                       "' takes a comma-separated list of text, media and other, not '" + value +
                       "'";
            }
        } else {
            if (filters.Age != AgeChoice::AllAges) {
                return "give one age filter (--newer or --older)";
            }
            filters.Age = id == OptionId::Newer ? AgeChoice::NewerThan : AgeChoice::OlderThan;
            if (!ParseAge(value, filters.Amount, filters.Unit)) {
                return "'" + arg + "' takes AGE as a whole number followed by h, d or w (such as " +
                       "12h, 3d or 2w), not '" + value + "'";
            }
        }
        return "";
    }

    std::string ArchiveOption(const std::string& arg, OptionId id,
                              const std::optional<std::string>& attached) {
        ArchiveChoices& choices = arguments_.Archive;
        if (id == OptionId::To) {
            return choices.To.empty() ? Value(arg, attached, choices.To)
                                      : "'" + arg + "' was given twice";
        }
        if (id == OptionId::Emphasize) {
            choices.Emphasize = true;
            if (attached) {
                choices.Emphasis = ParseEmphasis(*attached);
                if (!choices.Emphasis) {
                    return "'" + arg + "' takes bold, italic, larger or custom, not '" + *attached +
                           "'";
                }
            }
            return "";
        }
        // The on/off switches; the last of a pair wins.
        switch (id) {
            case OptionId::NoEmphasize:
                choices.Emphasize = false;
                break;
            case OptionId::OriginalUrls:
            case OptionId::NoOriginalUrls:
                choices.OriginalUrls = id == OptionId::OriginalUrls;
                break;
            case OptionId::Strikeout:
            case OptionId::NoStrikeout:
                choices.Strikeout = id == OptionId::Strikeout;
                break;
            case OptionId::Warc:
            case OptionId::NoWarc:
                choices.WebArchive = id == OptionId::Warc;
                break;
            default:
                break;
        }
        return "";
    }

    const std::vector<std::string>& args_;
    std::size_t next_ = 1;
    CliArguments arguments_;
    bool typesGiven_ = false;
};

ParsedArguments UsageError(std::string message) {
    ParsedArguments parsed;
    parsed.Error = std::move(message);
    return parsed;
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    ParsedArguments parsed;
    if (args.empty()) {
        return UsageError("no command given");
    }
    if (IsOption(args[0])) {
        if (args[0] != "--help" && args[0] != "--version") {
            return UsageError("unknown option '" + args[0] + "'");
        }
        if (args.size() > 1) {
            return UsageError("'" + args[0] + "' takes no other arguments");
        }
        parsed.Arguments.Command = args[0] == "--help" ? Action::Help : Action::Version;
        return parsed;
    }
    const auto command = std::find_if(Commands.begin(), Commands.end(),
                                      [&](const CommandName& c) { return c.Name == args[0]; });
    if (command == Commands.end()) {
        return UsageError("unknown command '" + args[0] + "'");
    }
    if (std::find(args.begin() + 1, args.end(), "--help") != args.end()) {
        parsed.Arguments.Command = Action::Help;
        parsed.Arguments.HelpTopic = command->Command;
        return parsed;
    }
    Parser parser(args, command->Command);
    parsed.Error = parser.Parse();
    parsed.Arguments = parser.Arguments();
    return parsed;
}

}  // namespace arkivo::cli
