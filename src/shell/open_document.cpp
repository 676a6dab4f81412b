#include "shell/open_document.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <vector>

#include "platform/dialogs.h"

extern char** environ;

namespace arkivo {
namespace {

constexpr auto PollInterval = std::chrono::milliseconds(10);

// Launches that outlived their wait; reaped once they have ended.
std::vector<pid_t> stillRunning;

void ReapFinishedLaunches() {
    std::erase_if(stillRunning, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

int ResultOfExitStatus(int status) {
    if (!WIFEXITED(status)) {
        return ShellOtherFailure;
    }
    switch (WEXITSTATUS(status)) {
        case 0:
            return ShellSuccess;
        case 2:
            return ShellFileNotFound;
        case 3:
            return ShellNoAssociation;
        default:
            return ShellOtherFailure;
    }
}

}  // namespace

std::string OpenDocumentReason(int result) {
    switch (result) {
        case 0:
            return "The operating system is out \r\nof memory or resources.";
        case 2:
            return "The specified file was not found.";
        case 3:
            return "The specified path was not found.";
        case 5:
            return "The operating system denied \r\naccess to the specified file.";
        case 8:
            return "There was not enough memory \r\nto complete the operation.";
        case 11:
            return "The .EXE file is invalid (non-Win32 \r\n.EXE or error in .EXE image).";
        case 26:
            return "A sharing violation occurred.";
        case 27:
            return "The filename association \r\nis incomplete or invalid.";
        case 28:
            return "The DDE transaction could not \r\nbe completed because the request \r\ntimed "
                   "out.";
        case 29:
            return "The DDE transaction failed.";
        case 30:
            return "The DDE transaction could not\r\nbe completed because other DDE "
                   "\r\ntransactions were being processed.";
        case 31:
            return "There is no application \r\nassociated with these files.";
        case 32:
            return "The specified dynamic-link \r\nlibrary was not found.";
        default:
            return "The requested file could not be opened.";
    }
}

std::string OpenDocumentMessage(int result, std::string_view path) {
    return OpenDocumentReason(result) + "\r\n\r\nTo open the page:\r\n\r\n" + std::string(path) +
           "\r\n\r\nuse the Open command from\r\nthe browser's File menu.";
}

int LaunchDocument(const std::string& path, std::chrono::milliseconds wait) {
    ReapFinishedLaunches();
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group, so a Ctrl+C meant for this program spares the browser.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    char program[] = "xdg-open";
    std::string argument = path;
    char* arguments[] = {program, argument.data(), nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, program, nullptr, &attributes, arguments, environ);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        return spawned == ENOENT ? ShellNoAssociation : ShellOtherFailure;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        int status = 0;
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            // exec failures inside the child show as exit status 127.
            if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
                return ShellNoAssociation;
            }
            return ResultOfExitStatus(status);
        }
        if (ended < 0 && errno != EINTR) {
            return ShellOtherFailure;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            stillRunning.push_back(pid);
            return ShellSuccess;
        }
        std::this_thread::sleep_for(PollInterval);
    }
}

void OpenDocument(std::string_view path) {
    const int result = LaunchDocument(std::string(path));
    if (result > 32) {
        return;
    }
    TheDialogs().ShowMessage(
        {OpenDocumentMessage(result, path), DialogIcon::Error, DialogButtons::Ok, 0});
}

}  // namespace arkivo
