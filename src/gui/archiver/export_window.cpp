#include "gui/archiver/export_window.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "gui/common/context_help.h"
#include "gui/common/modal_windows.h"
#include "gui/common/qt_text.h"
#include "shell/help_file.h"

namespace arkivo {

TExportForm::TExportForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ExportForm"));
    setWindowTitle(QStringLiteral("Archiving"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    SetHelpContext(this, HelpTopic::Progress);
    InstallContextHelp(this);
    setFixedSize(320, 136);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(8, 8, 304, 80);

    stageLabel_ = new QLabel(QStringLiteral("Progress"), panel);
    stageLabel_->setObjectName(QStringLiteral("Label1"));
    stageLabel_->setGeometry(12, 10, 280, 20);

    progressBar_ = new QProgressBar(panel);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->setGeometry(12, 40, 236, 20);

    percentLabel_ = new QLabel(QStringLiteral("0%"), panel);
    percentLabel_->setObjectName(QStringLiteral("PercentLabel"));
    percentLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    percentLabel_->setGeometry(252, 40, 40, 20);

    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("CancelButton"));
    cancelButton_->setGeometry(122, 98, 76, 28);
    connect(cancelButton_, &QPushButton::clicked, this, &TExportForm::CancelButtonClick);

    startTimer_ = new QTimer(this);
    startTimer_->setObjectName(QStringLiteral("Timer1"));
    startTimer_->setInterval(1);
    connect(startTimer_, &QTimer::timeout, this, &TExportForm::Timer1Timer);

    if (const QScreen* screen = QApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

ArchiveRunHooks TExportForm::Hooks() {
    ArchiveRunHooks hooks;
    hooks.SetStage = [this](const std::string& stage) { SetStage(stage); };
    hooks.SetProgress = [this](int percent) { SetProgress(percent); };
    return hooks;
}

ArchiveRunResult TExportForm::Execute(ArchiveRun& run) {
    run_ = &run;
    result_ = ArchiveRunResult();
    startTimer_->start();
    TheModalWindows().ShowModal(*this);
    startTimer_->stop();
    run_ = nullptr;
    return result_;
}

void TExportForm::SetStage(const std::string& stage) {
    stageLabel_->setText(FromCoreText(stage));
}

void TExportForm::SetProgress(int percent) {
    progressBar_->setValue(percent);
    percentLabel_->setText(QString::number(percent) + QLatin1Char('%'));
    QApplication::processEvents();
}

void TExportForm::Timer1Timer() {
    startTimer_->stop();
    if (run_ == nullptr) {
        return;
    }
    result_ = run_->CheckArchiveDirectory();
    if (!result_.KeepWindowOpen) {
        done(result_.OpenIndex ? QDialog::Accepted : QDialog::Rejected);
        return;
    }
    // The window waits to be closed: it takes the keyboard back from the message
    // boxes, so that Escape closes it as its close button does.
    activateWindow();
    cancelButton_->setFocus();
}

void TExportForm::CancelButtonClick() {
    if (run_ != nullptr && run_->Busy()) {
        run_->RequestCancel();
    } else {
        QDialog::reject();
    }
}

void TExportForm::reject() {
    CancelButtonClick();
}

}  // namespace arkivo
