#include "support/test_support.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cmath>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/file_utils.h"
#include "platform/path.h"

namespace arkivo::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "arkivo-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary directory";
    }
    path_ = IncludeTrailingSeparator(pattern);
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Directories a test made read-only must become writable again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            ::chmod(it->path().c_str(), 0755);
        }
    }
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::operator/(std::string_view name) const {
    return path_ + std::string(name);
}

CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[65536];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) {
        result.Output.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    const std::string dir = DirectoryPart(path);
    if (!dir.empty()) {
        MakeDirectoryPath(dir);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string TestDataDir() {
    return IncludeTrailingSeparator(ARKIVO_TEST_DATA_DIR);
}

std::string SharedDataDir() {
    const std::string dir = IncludeTrailingSeparator(ARKIVO_SHARED_DATA_DIR);
    return IsDirectory(dir) ? dir : std::string();
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
        hadValue_ = true;
        oldValue_ = old;
    }
    ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (hadValue_) {
        ::setenv(name_.c_str(), oldValue_.c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

std::string ItemUrl(const std::string& url) {
    const std::size_t path = url.find('/', 7);
    return url.substr(0, path) + ":80" + url.substr(path);
}

std::string Seconds(double date) {
    return std::to_string(std::llround(date * 86400.0));
}

std::vector<int> RunAtOnce(int count, const std::function<int(int index)>& body) {
    int go[2];
    if (::pipe(go) != 0) {
        ADD_FAILURE() << "cannot make a pipe";
        return std::vector<int>(static_cast<std::size_t>(count), -1);
    }
    std::vector<pid_t> children;
    for (int i = 0; i < count; ++i) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(go[1]);
            char byte = 0;
            // The start signal: the parent closes its end once all are forked.
            const bool started = ::read(go[0], &byte, 1) == 0;
            ::_exit(started ? body(i) : 99);
        }
        children.push_back(child);
    }
    ::close(go[0]);
    ::close(go[1]);
    std::vector<int> statuses;
    for (const pid_t child : children) {
        int status = 0;
        const bool exited = child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status);
        statuses.push_back(exited ? WEXITSTATUS(status) : -1);
    }
    return statuses;
}

}  // namespace arkivo::testing
