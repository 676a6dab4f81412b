#include "progress_display.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "console.h"

namespace arkivo::cli {
namespace {

constexpr int BarWidth = 30;

}  // namespace

ProgressDisplay::ProgressDisplay() : terminal_(::isatty(STDERR_FILENO) == 1) {}

void ProgressDisplay::Stage(const std::string& text) {
    Finish();
    stage_ = PrintableText(text);
    percent_ = 0;
    if (terminal_) {
        Draw();
    } else {
        std::fprintf(stderr, "%s\n", stage_.c_str());
    }
}

void ProgressDisplay::Progress(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (terminal_ && percent != percent_) {
        percent_ = percent;
        Draw();
    }
}

void ProgressDisplay::Finish() {
    if (lineOpen_) {
        std::fputc('\n', stderr);
        lineOpen_ = false;
    }
}

void ProgressDisplay::Draw() {
    const int filled = percent_ * BarWidth / 100;
    // Carriage return, the line, then "erase to the end of the line".
    std::fprintf(stderr, "\r%s [%s%s] %3d%%\x1b[K", stage_.c_str(),
                 std::string(filled, '#').c_str(), std::string(BarWidth - filled, '.').c_str(),
                 percent_);
    std::fflush(stderr);
    lineOpen_ = true;
}

}  // namespace arkivo::cli
