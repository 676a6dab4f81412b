#pragma once
// What the Cache Explorer and progress window tests share: a copy of a sample cache
// in a scratch directory, the main window and the explorer over it, and opening the
// explorer with a script that runs once the cache has been read.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "gui/explorer/selection_window.h"
#include "gui/shell/control_window.h"
#include "gui/shell/prefs_dialog.h"
#include "gui_test_support.h"
#include "model/edition.h"

namespace arkivo::testing {

// The day the samples were taken; every fetch lies in the eight weeks before it.
double SampleDay();

// Copies samples/<name> (netscape or ie) into dir and gives the copy's path.
std::string CopySample(const std::string& name, const std::string& dir);

class ExplorerFixture {
  public:
    // Copies the edition's sample and points the program at the copy.
    explicit ExplorerFixture(Edition edition);
    ~ExplorerFixture();

    GuiEnvironment& Env() { return *env_; }
    TControlForm& Control() { return *control_; }
    TSelectionForm& Explorer() { return *explorer_; }
    // The directory holding the copied cache.
    const std::string& CacheDir() const { return cacheDir_; }

    // Opens the explorer from the main window; script runs after the cache was read.
    void Open(const std::function<void(TSelectionForm&)>& script);

  private:
    std::unique_ptr<GuiEnvironment> env_;
    std::string cacheDir_;
    std::unique_ptr<TControlForm> control_;
    std::unique_ptr<TPrefsForm> prefs_;
    std::unique_ptr<TSelectionForm> explorer_;
};

}  // namespace arkivo::testing
