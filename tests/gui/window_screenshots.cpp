// Writes pictures of the main window (also in each font that stands in for Arial on
// Linux), the About box, both pages of the Properties dialog (and ArkivoIE's Browser
// page), the Cache Explorer on the Netscape sample cache (filters set, a domain
// moved) and the progress window (ArkivoNav) as PNG files into the directory given:
//
//   window_screenshots DIRECTORY
//
// Run it on a real display (Xvfb will do) so the pictures show the desktop's style.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "gui/archiver/export_window.h"
#include "gui/explorer/selection_window.h"
#include "gui/shell/about_dialog.h"
#include "gui/shell/control_window.h"
#include "gui/shell/prefs_dialog.h"
#include "platform/clock.h"
#include "platform/program_dir.h"
#include "shell/program_values.h"
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

// The explorer on the sample cache as of the day it was taken: items newer than
// four weeks, pictures and sounds left out, one site moved to "Available Domains".
void ShowExplorerOnSample(arkivo::TSelectionForm& explorer, arkivo::TControlForm& controlForm) {
    using namespace arkivo;
    SetNowForTesting(*EncodeDate({2026, 12, 1, 0, 0, 0, 0}));
    TheProgramValues().CacheIndexPath = ARKIVO_SAMPLES_DIR "/netscape/FAT.DB";
    controlForm.SetCacheReloadPending(true);
    explorer.FormPaint();
    explorer.findChild<QComboBox*>(QStringLiteral("OldNewBox"))->setCurrentIndex(1);
    explorer.OldNewBoxChange();
    explorer.findChild<QComboBox*>(QStringLiteral("HDWBox"))->setCurrentIndex(2);
    explorer.HDWBoxChange();
    explorer.findChild<QComboBox*>(QStringLiteral("AgeBox"))->setCurrentIndex(3);
    explorer.AgeBoxChange();
    auto* dstList = explorer.findChild<QListWidget*>(QStringLiteral("DstList"));
    dstList->clearSelection();
    dstList->item(0)->setSelected(true);
    explorer.ExcludeBtnClick();
    explorer.findChild<QCheckBox*>(QStringLiteral("MediaBox"))->setChecked(false);
    explorer.MediaBoxClick();
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
    qputenv("XDG_DATA_HOME", (settings.path() + "/data").toLocal8Bit());
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

    // The main window in each font users have in place of Arial.
    for (const char* family : {"DejaVu Sans", "Liberation Sans", "Nimbus Sans"}) {
        QFont::insertSubstitution(QStringLiteral("Arial"), QString::fromLatin1(family));
        TControlForm inFont(Edition::Nav, controlForm.Settings());
        const QString name = QString::fromLatin1(family).toLower().replace(' ', '-');
        saved = Save(inFont, out + "arkivo-main-window-" + name + ".png") && saved;
        QFont::removeSubstitutions(QStringLiteral("Arial"));
    }

    TControlForm ieForm(Edition::IE, controlForm.Settings());
    TPrefsForm iePrefs(Edition::IE, ieForm.Settings(), &ieForm);
    saved = Save(iePrefs, out + "arkivo-ie-cache-setting.png",
                 [&iePrefs] {
                     iePrefs.ShowCacheSetting();
                     iePrefs.findChild<QLineEdit*>(QStringLiteral("IECacheEdit"))
                         ->setText(QStringLiteral(
                             "/home/me/.wine/drive_c/users/me/Local Settings/Temporary Internet "
                             "Files/Content.IE5"));
                 }) &&
            saved;

    TSelectionForm explorer(Edition::Nav, controlForm, &prefsForm);
    saved = Save(explorer, out + "arkivo-cache-explorer.png",
                 [&] { ShowExplorerOnSample(explorer, controlForm); }) &&
            saved;
    TExportForm exportForm(&controlForm);
    saved = Save(exportForm, out + "arkivo-progress-window.png",
                 [&exportForm] {
                     exportForm.SetStage(ArchivingStageText);
                     exportForm.SetProgress(45);
                 }) &&
            saved;
    return saved ? 0 : 1;
}
