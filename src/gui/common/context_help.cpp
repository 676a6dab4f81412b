#include "gui/common/context_help.h"

#include <QAction>
#include <QApplication>
#include <QWidget>

#include "gui/common/help_viewer_window.h"
#include "platform/dialogs.h"
#include "shell/help_file.h"

namespace arkivo {
namespace {

constexpr const char* HelpContextProperty = "HelpContext";

}  // namespace

void SetHelpContext(QWidget* widget, int topic) {
    widget->setProperty(HelpContextProperty, topic);
}

int HelpContextOf(const QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        const int topic = widget->property(HelpContextProperty).toInt();
        if (topic != 0) {
            return topic;
        }
    }
    return 0;
}

void InstallContextHelp(QWidget* window) {
    auto* action = new QAction(window);
    action->setObjectName(QStringLiteral("ContextHelp"));
    action->setShortcut(Qt::Key_F1);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, window, [window] {
        QWidget* focused = QApplication::focusWidget();
        const QWidget* asked = focused != nullptr && focused->window() == window ? focused : window;
        RequestHelpTopic(HelpContextOf(asked));
    });
    window->addAction(action);
}

bool RequestHelpTopic(int topic) {
    if (ShowHelpTopic(topic)) {
        return true;
    }
    TheDialogs().ShowMessage({HelpFileNotFoundText, DialogIcon::Error, DialogButtons::Ok, 0});
    return false;
}

}  // namespace arkivo
