#pragma once
// The exit statuses of the arkivo tool.

namespace arkivo::cli {

enum ExitStatus : int {
    Success = 0,
    NothingToDo = 1,      // no items, nothing chosen
    UsageFailure = 2,     // the command line is wrong
    InputUnreadable = 3,  // a cache index is missing or cannot be read
    RunFailed = 4,        // the run failed or was cancelled
};

}  // namespace arkivo::cli
