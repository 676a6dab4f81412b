#include "stderr_dialogs.h"

#include "console.h"

namespace arkivo::cli {

DialogResult StderrDialogs::ShowMessage(const DialogMessage& message) {
    Complain(PlainLines(message.Text));
    return message.Buttons == DialogButtons::YesNo || message.Buttons == DialogButtons::YesNoCancel
               ? DialogResult::Yes
               : DialogResult::Ok;
}

}  // namespace arkivo::cli
