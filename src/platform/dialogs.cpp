#include "platform/dialogs.h"

namespace arkivo {
namespace {

DialogResult DefaultAnswer(const DialogMessage& message) {
    return message.Buttons == DialogButtons::YesNo || message.Buttons == DialogButtons::YesNoCancel
               ? DialogResult::Yes
               : DialogResult::Ok;
}

class QuietDialogs : public Dialogs {
  public:
    DialogResult ShowMessage(const DialogMessage& message) override {
        return DefaultAnswer(message);
    }
};

QuietDialogs quiet;
Dialogs* installed = nullptr;

}  // namespace

Dialogs& TheDialogs() {
    return installed != nullptr ? *installed : quiet;
}

void SetDialogs(Dialogs* dialogs) {
    installed = dialogs;
}

DialogResult ScriptedDialogs::ShowMessage(const DialogMessage& message) {
    shown_.push_back(message);
    if (answers_.empty()) {
        return DefaultAnswer(message);
    }
    const DialogResult answer = answers_.front();
    answers_.pop_front();
    return answer;
}

}  // namespace arkivo
