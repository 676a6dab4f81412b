#include "stderr_dialogs.h"

#include <cstdio>
#include <string>

namespace arkivo::cli {

DialogResult StderrDialogs::ShowMessage(const DialogMessage& message) {
    std::string text;
    for (std::size_t i = 0; i < message.text.size(); ++i) {
        if (message.text[i] == '\r' && i + 1 < message.text.size() && message.text[i + 1] == '\n') {
            continue;  // CR LF prints as one line end
        }
        text += message.text[i];
    }
    std::fprintf(stderr, "arkivo: %s\n", text.c_str());
    return message.buttons == DialogButtons::YesNo || message.buttons == DialogButtons::YesNoCancel
               ? DialogResult::Yes
               : DialogResult::Ok;
}

}  // namespace arkivo::cli
