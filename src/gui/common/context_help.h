#pragma once
// Help by topic number for the windows: each window and some controls carry a help
// context; F1 shows the topic of the focused control, or of the nearest enclosing
// widget that carries one. Requests go to the program's help viewer; one that fails
// (no help file) shows "Help file not found".

class QWidget;

namespace arkivo {

void SetHelpContext(QWidget* widget, int topic);

// The help context of the widget or its nearest ancestor that has one; 0 for none.
int HelpContextOf(const QWidget* widget);

// Gives the window an F1 shortcut showing the topic of its focused control.
void InstallContextHelp(QWidget* window);

// Shows the topic; shows the "Help file not found" error message and returns false
// when it cannot.
bool RequestHelpTopic(int topic);

}  // namespace arkivo
