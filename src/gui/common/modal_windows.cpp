#include "gui/common/modal_windows.h"

namespace arkivo {
namespace {

class ExecModalWindows : public ModalWindows {
  public:
    int ShowModal(QDialog& window) override {
        // Modal to the windows it belongs to, not to the whole program: the help
        // viewer, a window of its own, stays usable while the window is open.
        if (window.parentWidget() != nullptr) {
            window.setWindowModality(Qt::WindowModal);
        }
        return window.exec();
    }
};

ExecModalWindows exec;
ModalWindows* installed = nullptr;

}  // namespace

ModalWindows& TheModalWindows() {
    return installed != nullptr ? *installed : exec;
}

void SetModalWindows(ModalWindows* windows) {
    installed = windows;
}

int ScriptedModalWindows::ShowModal(QDialog& window) {
    shown_.push_back(window.objectName());
    window.setResult(QDialog::Rejected);
    window.show();
    if (!scripts_.empty()) {
        const Script script = std::move(scripts_.front());
        scripts_.pop_front();
        script(window);
    }
    if (window.isVisible()) {
        window.reject();
    }
    return window.result();
}

}  // namespace arkivo
