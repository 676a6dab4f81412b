#pragma once
// What every tool does with arguments that look like options: --help or -h,
// wherever it stands, prints the tool's usage on standard output (status 0); any
// other argument starting with '-' that the tool does not know is refused with a
// line naming it, then the usage, on standard error (status 2, as for any usage
// error).

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace arkivo::tools {

// Ends the program with the usage when --help or -h is among the arguments.
inline void AnswerHelp(int argc, char** argv, const char* usage) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            std::exit(0);
        }
    }
}

// Ends the program for arg, which looks like an option but is none of the tool's.
[[noreturn]] inline void RefuseOption(const char* tool, const char* arg, const char* usage) {
    std::fprintf(stderr, "%s: unknown option '%s'\n%s", tool, arg, usage);
    std::exit(2);
}

// For a tool that takes operands only.
inline void TakeNoOptions(int argc, char** argv, const char* tool, const char* usage) {
    AnswerHelp(argc, argv, usage);
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') {
            RefuseOption(tool, argv[i], usage);
        }
    }
}

}  // namespace arkivo::tools
