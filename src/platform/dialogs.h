#pragma once
// The one seam every message box goes through. The core asks a question or reports
// a failure by handing a DialogMessage (exact text, buttons, icon, help topic) to the
// installed Dialogs; the windows install one that shows a real message box, the
// command line one that prints, and tests a scripted one that records each message
// and answers as the test chose.

#include <deque>
#include <string>
#include <vector>

namespace arkivo {

enum class DialogIcon { Information, Warning, Error, Confirmation };

// Button sets a message box can offer.
enum class DialogButtons { Ok, OkHelp, OkCancel, YesNo, YesNoCancel };

enum class DialogResult { Ok, Cancel, Yes, No };

struct DialogMessage {
    std::string Text;  // exact text, line breaks included
    DialogIcon Icon = DialogIcon::Information;
    DialogButtons Buttons = DialogButtons::Ok;
    int HelpContext = 0;  // help topic number; 0 for none
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual DialogResult ShowMessage(const DialogMessage& message) = 0;
};

// The installed implementation; a quiet one answering Ok (or Yes) until one is set.
Dialogs& TheDialogs();

// Installs an implementation (not owned; nullptr restores the quiet one).
void SetDialogs(Dialogs* dialogs);

// Records every message and answers from a queue the test fills; when the queue
// is empty it answers Ok, or Yes for a yes/no question.
class ScriptedDialogs : public Dialogs {
  public:
    DialogResult ShowMessage(const DialogMessage& message) override;

    void QueueAnswer(DialogResult answer) { answers_.push_back(answer); }
    const std::vector<DialogMessage>& Shown() const { return shown_; }

  private:
    std::vector<DialogMessage> shown_;
    std::deque<DialogResult> answers_;
};

// Installs a dialogs implementation for the lifetime of the object.
class ScopedDialogs {
  public:
    explicit ScopedDialogs(Dialogs& dialogs) { SetDialogs(&dialogs); }
    ~ScopedDialogs() { SetDialogs(nullptr); }
    ScopedDialogs(const ScopedDialogs&) = delete;
    ScopedDialogs& operator=(const ScopedDialogs&) = delete;
};

}  // namespace arkivo
