#pragma once
// The seam every modal window goes through. The program shows windows with their
// own event loop; tests install ScriptedModalWindows, which shows the window, runs
// the script the test queued for it (reading and clicking its controls), closes it
// with Cancel when the script left it open, and returns its result, with no nested
// event loop.

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

namespace arkivo {

class ModalWindows {
  public:
    virtual ~ModalWindows() = default;
    // Shows the window modally until it closes; its result (QDialog::Accepted or
    // QDialog::Rejected).
    virtual int ShowModal(QDialog& window) = 0;
};

// The installed implementation; one running QDialog::exec until another is set,
// which blocks only the window's own parent windows.
ModalWindows& TheModalWindows();

// Installs an implementation (not owned; nullptr restores the real one).
void SetModalWindows(ModalWindows* windows);

class ScriptedModalWindows : public ModalWindows {
  public:
    using Script = std::function<void(QDialog& window)>;

    int ShowModal(QDialog& window) override;

    void Queue(Script script) { scripts_.push_back(std::move(script)); }
    // Object names of the windows shown, in order.
    const std::vector<QString>& Shown() const { return shown_; }

  private:
    std::deque<Script> scripts_;
    std::vector<QString> shown_;
};

class ScopedModalWindows {
  public:
    explicit ScopedModalWindows(ModalWindows& windows) { SetModalWindows(&windows); }
    ~ScopedModalWindows() { SetModalWindows(nullptr); }
    ScopedModalWindows(const ScopedModalWindows&) = delete;
    ScopedModalWindows& operator=(const ScopedModalWindows&) = delete;
};

}  // namespace arkivo
