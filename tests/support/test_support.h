#pragma once
// Helpers shared by the tests: scratch directories, whole-file reads and writes,
// and where the test data lives.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace arkivo::testing {

// A fresh directory under the system's temporary directory, removed with all its
// contents when the object goes. Path() ends with a separator.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path() + name.
    std::string operator/(std::string_view name) const;

  private:
    std::string path_;
};

// Writes bytes to path, creating missing parent directories; fails the test on error.
void WriteFile(const std::string& path, std::string_view bytes);

// The file's bytes; fails the test and gives "" when it cannot be read.
std::string ReadFile(const std::string& path);

// The project's committed fixtures (tests/data/).
std::string TestDataDir();

// The real cache files kept beside the project (../shared/data/); empty when that
// directory is not there, and the tests that need it skip.
std::string SharedDataDir();

// What a shell command gave: its exit status (-1 when it could not be started or
// did not exit normally) and its standard output.
struct CommandResult {
    int Status = -1;
    std::string Output;
};

// Runs a command through the shell and collects its standard output.
CommandResult RunCommand(const std::string& command);

// Runs body(0) .. body(count - 1) in child processes that all start it together,
// once every child has been forked, so that what they race for is really raced
// for. Gives each child's exit status (-1 when it did not exit normally).
std::vector<int> RunAtOnce(int count, const std::function<int(int index)>& body);

// The item URL of an http URL as fetched: the port made explicit, as the readers
// give it.
std::string ItemUrl(const std::string& url);

// A day count to the whole second, as the sample listings compare dates.
std::string Seconds(double date);

// Sets an environment variable for the lifetime of the object, restoring it after.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    bool hadValue_ = false;
    std::string oldValue_;
};

}  // namespace arkivo::testing

// Skips the current test, saying why, when the shared real-data directory is absent.
#define ARKIVO_REQUIRE_SHARED_DATA()                                                  \
    do {                                                                              \
        if (::arkivo::testing::SharedDataDir().empty()) {                             \
            GTEST_SKIP() << "../shared/data is not present; real-file cases skipped"; \
        }                                                                             \
    } while (0)
