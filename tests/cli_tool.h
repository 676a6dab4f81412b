#pragma once
// What the tests of the arkivo tool share: running the built program, a scratch
// directory with the settings and the Wine prefix kept inside it, and Navigator
// text caches written on the spot with items of chosen ages.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/test_support.h"

namespace arkivo::testing {

inline const std::string Tool = std::string(ARKIVO_BINARY_DIR) + "/src/app/arkivo";

struct Outcome {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// The text quoted for the shell.
inline std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs the tool with the arguments (already quoted for the shell); standard input
// is empty and no terminal.
inline Outcome RunTool(const std::string& arguments) {
    TempDir scratch;
    const std::string errFile = scratch / "stderr";
    const CommandResult run =
        RunCommand(Tool + " " + arguments + " </dev/null 2>" + Quote(errFile));
    return {run.Status, run.Output, ReadWholeFile(errFile).value_or("")};
}

// Runs the tool with standard input, output and error on a new terminal; once the
// terminal has shown prompt, answer is typed. Everything the terminal shows,
// the typed answer's echo included, ends up in out.
inline Outcome RunOnTerminal(const std::vector<std::string>& arguments,
                             const std::string& prompt = "", const std::string& answer = "") {
    Outcome outcome;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        return outcome;
    }
    const std::string slaveName = ::ptsname(master);
    std::vector<char*> argv = {const_cast<char*>(Tool.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setsid();
        const int slave = ::open(slaveName.c_str(), O_RDWR);  // becomes the controlling terminal
        ::dup2(slave, 0);
        ::dup2(slave, 1);
        ::dup2(slave, 2);
        ::close(master);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    bool answered = prompt.empty();
    char buffer[4096];
    for (ssize_t got; (got = ::read(master, buffer, sizeof buffer)) > 0;) {  // EIO once it is gone
        outcome.Out.append(buffer, static_cast<std::size_t>(got));
        if (!answered && outcome.Out.find(prompt) != std::string::npos) {
            answered = ::write(master, answer.data(), answer.size()) ==
                       static_cast<ssize_t>(answer.size());
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(master);
    outcome.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

// One item of a generated Navigator text cache.
struct TextCacheEntry {
    std::string Url;
    std::string Type;
    long long HoursAgo = 0;
    std::string Body = "x";
};

// Writes dir + "FAT" (a Navigator 1.x text index) and each entry's cached file
// ("M<number>" beside it); gives the index path.
inline std::string WriteTextCache(const std::string& dir,
                                  const std::vector<TextCacheEntry>& entries) {
    const long long now = static_cast<long long>(std::time(nullptr));
    std::string index = "MOSAIC-COMMUNICATIONS-CACHE\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TextCacheEntry& entry = entries[i];
        const std::string name = "M" + std::to_string(i);
        index += "1\t0\t" + std::to_string(now - entry.HoursAgo * 3600) + "\t/cache/" + name +
                 "\t" + entry.Url + "\t" + entry.Type + "\t5\t\n";
        WriteFile(dir + name, entry.Body);
    }
    WriteFile(dir + "FAT", index);
    return dir + "FAT";
}

// A scratch directory for each test, with the tool's settings and Wine prefix in
// it so the user's own are never read or changed.
class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!FileExists(Tool)) {
            GTEST_SKIP() << "the arkivo tool was not built";
        }
    }

    std::string SettingsFile() const { return dir_ / "config/Quenlow/Arkivo.reg"; }

    TempDir dir_;
    ScopedEnv config_{"XDG_CONFIG_HOME", dir_ / "config"};
    ScopedEnv data_{"XDG_DATA_HOME", dir_ / "data"};
    ScopedEnv wine_{"WINEPREFIX", dir_ / "wine"};
    ScopedEnv ieCache_{"ARKIVO_IE_CACHE", dir_ / "no-ie-cache"};
};

}  // namespace arkivo::testing
