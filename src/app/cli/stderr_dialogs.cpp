#include "stderr_dialogs.h"

#include "console.h"

namespace arkivo::cli {

DialogResult StderrDialogs::ShowMessage(const DialogMessage& message) {
    Complain(PlainLines(message.text));
    return message.buttons == DialogButtons::YesNo || message.buttons == DialogButtons::YesNoCancel
               ? DialogResult::Yes
               : DialogResult::Ok;
}

}  // namespace arkivo::cli
