#pragma once
// The progress of an archive run on standard error. On a terminal: one line per
// stage, redrawn in place as the stage text, a bar and the percentage. Elsewhere
// (a pipe, a log file): the stage texts alone, one line each.

#include <string>

namespace arkivo::cli {

class ProgressDisplay {
  public:
    // Draws a bar when standard error is a terminal.
    ProgressDisplay();

    void Stage(const std::string& text);
    void Progress(int percent);
    // Ends the open bar line, if any.
    void Finish();

  private:
    void Draw();

    bool terminal_;
    bool lineOpen_ = false;
    std::string stage_;
    int percent_ = 0;
};

}  // namespace arkivo::cli
