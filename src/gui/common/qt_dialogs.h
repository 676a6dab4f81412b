#pragma once
// The Dialogs seam shown as Qt message boxes: the core's exact text (converted from
// Windows-1252), its icon and buttons; a Help button shows the message's help topic
// and leaves the box open.

#include "platform/dialogs.h"

namespace arkivo {

class QtDialogs : public Dialogs {
  public:
    DialogResult ShowMessage(const DialogMessage& message) override;
};

}  // namespace arkivo
