#pragma once
// The command line's message boxes: each message is printed to standard error and
// given the answer that lets a batch run go on (OK, or Yes to a question).

#include "platform/dialogs.h"

namespace arkivo::cli {

class StderrDialogs : public Dialogs {
  public:
    DialogResult ShowMessage(const DialogMessage& message) override;
};

}  // namespace arkivo::cli
