#pragma once
// What every window test needs: a private settings file, runtime directory, Wine
// prefix and program directory under one temporary directory, removed afterwards,
// and the seams for message boxes and modal windows installed with scripts.

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <string>

#include "gui/common/modal_windows.h"
#include "platform/dialogs.h"

namespace arkivo::testing {

class GuiEnvironment {
  public:
    GuiEnvironment();
    ~GuiEnvironment();
    GuiEnvironment(const GuiEnvironment&) = delete;
    GuiEnvironment& operator=(const GuiEnvironment&) = delete;

    // dir + "/" + name.
    std::string Path(const std::string& name) const;
    // The program directory, with a trailing separator.
    std::string ProgramDirectory() const { return Path("program/"); }
    // The settings file the windows' SettingsStore uses.
    std::string SettingsFile() const { return Path("config/Quenlow/Arkivo.reg"); }

    ScriptedDialogs& Dialogs() { return dialogs_; }
    ScriptedModalWindows& Windows() { return windows_; }

    // Puts a fake xdg-open first on PATH that runs the shell commands given.
    void FakeXdgOpen(const std::string& commands);

  private:
    // Short, so the instance socket path stays within its limit.
    QTemporaryDir dir_{QDir::tempPath() + "/arkivo-XXXXXX"};
    QByteArray oldPath_;
    ScriptedDialogs dialogs_;
    ScriptedModalWindows windows_;
    ScopedDialogs installedDialogs_{dialogs_};
    ScopedModalWindows installedWindows_{windows_};
};

// The control of window with the object name given; a missing one ends the test.
template <typename Control>
Control* Find(QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    if (control == nullptr) {
        qFatal("no control named %s", name);
    }
    return control;
}

// Writes bytes to path, creating its directory.
void WriteTestFile(const std::string& path, const std::string& bytes);

}  // namespace arkivo::testing
