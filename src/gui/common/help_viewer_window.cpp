#include "gui/common/help_viewer_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/common/qt_text.h"
#include "shell/help_file.h"

namespace arkivo {
namespace {

QPointer<THelpViewer> viewer;

}  // namespace

THelpViewer::THelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Arkivo Help"));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    // The help viewer alone never keeps the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(560, 480);
}

void THelpViewer::ShowTopic(const QString& helpFile, int topic) {
    QUrl url = QUrl::fromLocalFile(helpFile);
    url.setFragment(FromCoreText(HelpTopicAnchor(topic)));
    browser_->setSource(url);
    showNormal();
    raise();
    activateWindow();
}

bool ShowHelpTopic(int topic) {
    const QString helpFile = FromCoreText(HelpFile());
    if (helpFile.isEmpty() || !QFileInfo(helpFile).isReadable()) {
        return false;
    }
    // The program's modal windows block only their own parents, so the viewer is a
    // window of its own and stays usable under them. A window modal to the whole
    // program (one without a parent) blocks every other window: the viewer then
    // opens as its child, above it, so it can be read and scrolled.
    QWidget* owner = QApplication::activeModalWidget();
    if (owner != nullptr && owner->windowModality() != Qt::ApplicationModal) {
        owner = nullptr;
    }
    if (viewer == nullptr) {
        viewer = new THelpViewer(owner);
    } else if (viewer->parentWidget() != owner) {
        viewer->setParent(owner, Qt::Window);
    }
    viewer->ShowTopic(helpFile, topic);
    return true;
}

THelpViewer* OpenHelpViewer() {
    return viewer;
}

}  // namespace arkivo
