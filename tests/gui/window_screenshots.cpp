// Writes pictures of the main window, the About box and both pages of the Properties
// dialog (ArkivoNav) as PNG files into the directory given:
//
//   window_screenshots DIRECTORY
//
// Run it on a real display (Xvfb will do) so the pictures show the desktop's style.

#include <QApplication>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "platform/program_dir.h"
#include "shell/about_dialog.h"
#include "shell/control_window.h"
#include "shell/prefs_dialog.h"
#include "shell/version_text.h"

namespace {

// Shows the window, lets page choose what it shows, and saves its picture.
bool Save(QWidget& window, const QString& path, const std::function<void()>& page = {}) {
    window.show();
    if (page) {
        page();
    }
    QApplication::processEvents();
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    window.hide();
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace arkivo;
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_screenshots DIRECTORY\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + "/";
    // Settings of their own, so the pictures show the first-run values.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    qputenv("WINEPREFIX", (settings.path() + "/wine").toLocal8Bit());
    SetProgramDirForTesting("/opt/arkivo");

    TControlForm controlForm(Edition::Nav);
    TPrefsForm prefsForm(Edition::Nav, controlForm.Settings(), &controlForm);
    TAboutBox aboutBox(&controlForm);
    aboutBox.findChild<QLabel*>(QStringLiteral("VersionLabel"))
        ->setText(QString::fromStdString(VersionText()));
    auto* pages = prefsForm.findChild<QTabWidget*>(QStringLiteral("ExportPageControl"));

    bool saved = Save(controlForm, out + "arkivo-main-window.png");
    saved = Save(aboutBox, out + "arkivo-about-box.png") && saved;
    // Showing the dialog with no cache index found brings "Browser" to the front.
    saved = Save(prefsForm, out + "arkivo-properties-general.png",
                 [pages] { pages->setCurrentIndex(0); }) &&
            saved;
    saved = Save(prefsForm, out + "arkivo-properties-browser.png") && saved;
    return saved ? 0 : 1;
}
