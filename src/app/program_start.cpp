#include "app/program_start.h"

#include <QApplication>

#include "gui/common/instance_channel.h"
#include "gui/common/qt_dialogs.h"
#include "gui/common/qt_text.h"
#include "gui/explorer/selection_window.h"
#include "gui/search/search_window.h"
#include "gui/shell/control_window.h"
#include "gui/shell/prefs_dialog.h"
#include "model/content_types.h"
#include "platform/program_dir.h"
#include "shell/help_file.h"

namespace arkivo {

int RunProgram(Edition edition, int argc, char** argv) {
    LoadMimeTypes();

    QApplication application(argc, argv);
    TInstanceChannel instance(ToCoreText(QCoreApplication::applicationFilePath()));
    if (!instance.CheckForSingleInstance()) {
        instance.ActivateFirstInstance();
        return 0;
    }
    QApplication::setApplicationName(QStringLiteral("Arkivo"));
    // Ties the windows to the installed desktop entry, so docks show its name and icon.
    QGuiApplication::setDesktopFileName(edition == Edition::Nav
                                            ? QStringLiteral("org.quenlow.ArkivoNav")
                                            : QStringLiteral("org.quenlow.ArkivoIE"));
    QtDialogs dialogs;
    ScopedDialogs installed(dialogs);
    SetHelpFile(LocateHelpFile(ProgramDataDir()));

    TControlForm controlForm(edition);
    TPrefsForm prefsForm(edition, controlForm.Settings(), &controlForm);
    controlForm.SetPrefsForm(&prefsForm);
    // The Cache Explorer lives as long as the program and is shown for each use.
    TSelectionForm selectionForm(edition, controlForm, &prefsForm);
    controlForm.SetCacheExplorer(&selectionForm);
    controlForm.SetShowSearchWindow(
        [&controlForm] { ShowSearchWindow(controlForm.Settings(), &controlForm); });
    QObject::connect(&instance, &TInstanceChannel::ActivationRequested, &controlForm,
                     &TControlForm::ActivateFromAnotherInstance);
    controlForm.show();
    return QApplication::exec();
}

}  // namespace arkivo
