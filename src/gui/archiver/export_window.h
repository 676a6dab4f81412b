#pragma once
// TExportForm, the "Archiving" progress window of an archive run. A 1 ms timer
// starts the run once the window is up; the run reports its stage and progress
// through the hooks the window supplies and lets the window's events run there, so
// Cancel (or Escape) stops the archiving stage after the current item. The run's
// completion question closes the window: OK when the user wants the index opened.

#include <QDialog>

#include "archiver/archive_run.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace arkivo {

class TExportForm : public QDialog {
    Q_OBJECT
  public:
    // FormCreate: the controls, the disabled timer, the busy flag cleared.
    explicit TExportForm(QWidget* parent = nullptr);

    // The stage and progress hooks, bound to this window.
    ArchiveRunHooks Hooks();

    // Shows the window modally with the timer enabled, so run starts; the run's
    // result once the window has closed.
    ArchiveRunResult Execute(ArchiveRun& run);

    void SetStage(const std::string& stage);
    void SetProgress(int percent);

    // Once: disables the timer and runs the archive directory check and the run.
    void Timer1Timer();
    // While the run is busy: asks it to stop; otherwise closes the window.
    void CancelButtonClick();

  protected:
    // Escape and the window's close button act as Cancel.
    void reject() override;

  private:
    ArchiveRun* run_ = nullptr;
    ArchiveRunResult result_;
    QLabel* stageLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QLabel* percentLabel_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QTimer* startTimer_ = nullptr;
};

}  // namespace arkivo
