#include "gui/common/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "gui/common/context_help.h"
#include "gui/common/qt_text.h"

namespace arkivo {
namespace {

QMessageBox::Icon IconOf(DialogIcon icon) {
    switch (icon) {
        case DialogIcon::Information:
            break;
        case DialogIcon::Warning:
            return QMessageBox::Warning;
        case DialogIcon::Error:
            return QMessageBox::Critical;
        case DialogIcon::Confirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::Information;
}

QString CaptionOf(DialogIcon icon) {
    switch (icon) {
        case DialogIcon::Information:
            break;
        case DialogIcon::Warning:
            return QStringLiteral("Warning");
        case DialogIcon::Error:
            return QStringLiteral("Error");
        case DialogIcon::Confirmation:
            return QStringLiteral("Confirm");
    }
    return QStringLiteral("Information");
}

QMessageBox::StandardButtons ButtonsOf(DialogButtons buttons) {
    switch (buttons) {
        case DialogButtons::Ok:
            break;
        case DialogButtons::OkHelp:
            return QMessageBox::Ok | QMessageBox::Help;
        case DialogButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case DialogButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case DialogButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

DialogResult ResultOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Yes:
            return DialogResult::Yes;
        case QMessageBox::No:
            return DialogResult::No;
        case QMessageBox::Cancel:
            return DialogResult::Cancel;
        default:
            return DialogResult::Ok;
    }
}

}  // namespace

DialogResult QtDialogs::ShowMessage(const DialogMessage& message) {
    // The box belongs to the topmost modal window, which gets the keyboard back when
    // the box closes; the active window when none is open.
    QWidget* owner = QApplication::activeModalWidget();
    QMessageBox box(IconOf(message.Icon), CaptionOf(message.Icon), MessageBoxText(message.Text),
                    ButtonsOf(message.Buttons),
                    owner != nullptr ? owner : QApplication::activeWindow());
    if (QAbstractButton* help = box.button(QMessageBox::Help)) {
        // Help shows the topic and keeps the question open.
        help->disconnect();
        QObject::connect(help, &QAbstractButton::clicked,
                         [topic = message.HelpContext] { RequestHelpTopic(topic); });
    }
    if (box.parentWidget() != nullptr) {
        // As every modal window: the help viewer stays usable while the box is open.
        box.setWindowModality(Qt::WindowModal);
    }
    SetHelpContext(&box, message.HelpContext);
    InstallContextHelp(&box);
    return ResultOf(static_cast<QMessageBox::StandardButton>(box.exec()));
}

}  // namespace arkivo
