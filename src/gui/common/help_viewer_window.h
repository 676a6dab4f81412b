#pragma once
// The program's help viewer: one window showing the help file, opened at the anchor
// of the topic asked for. It follows the links inside the help file; links to the
// web open in the browser.

#include <QWidget>

class QTextBrowser;

namespace arkivo {

class THelpViewer : public QWidget {
    Q_OBJECT
  public:
    explicit THelpViewer(QWidget* parent = nullptr);

    // Shows the help file at the topic's anchor.
    void ShowTopic(const QString& helpFile, int topic);

    QTextBrowser* Browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

// Shows the topic in the help viewer (created on first use); false when there is no
// help file or it cannot be read now.
bool ShowHelpTopic(int topic);

// The help viewer, when one has been opened and still exists; nullptr otherwise.
THelpViewer* OpenHelpViewer();

}  // namespace arkivo
