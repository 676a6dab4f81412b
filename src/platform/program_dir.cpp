#include "platform/program_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <optional>

#include "platform/path.h"

namespace arkivo {
namespace {

std::optional<std::string> overrideDir;

}  // namespace

std::string ProgramDir() {
    if (overrideDir) {
        return *overrideDir;
    }
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) {
        return "./";
    }
    return DirectoryPart(std::string_view(buffer, static_cast<std::size_t>(length)));
}

std::string ProgramDataDir() {
    const std::string program = ProgramDir();
    const std::string installed = program + "../share/arkivo/";
    struct stat info {};
    return ::stat(installed.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? installed : program;
}

bool IsInstalledProgram() {
    return ProgramDataDir() != ProgramDir();
}

void SetProgramDirForTesting(std::string dir) {
    overrideDir = IncludeTrailingSeparator(std::move(dir));
}

}  // namespace arkivo
