#include "gui/shell/browse_directory_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>

#include "gui/common/modal_windows.h"
#include "gui/common/qt_text.h"
#include "shell/directory_selection.h"
#include "shell/path_fitting.h"

namespace arkivo {
namespace {

constexpr const char* StatusLineName = "StatusLine";

QString StandardDirectory(QStandardPaths::StandardLocation location) {
    const QString directory = QStandardPaths::writableLocation(location);
    return QFileInfo(directory).isDir() ? directory : QDir::homePath();
}

}  // namespace

TBrowseDirectoryDlg::TBrowseDirectoryDlg(QObject* owner) : QObject(owner) {
    setObjectName(QStringLiteral("BrowseDirectoryDlg1"));
}

TBrowseDirectoryDlg::~TBrowseDirectoryDlg() = default;

void TBrowseDirectoryDlg::SetSelection(const QString& selection) {
    if (selection == selection_) {
        return;
    }
    selection_ = FromCoreText(SelectionValue(ToCoreText(selection)));
    if (dialogHandle_ != nullptr && !selection_.isEmpty()) {
        SendSelection();
    }
}

void TBrowseDirectoryDlg::SetStatusText(const QString& statusText) {
    if (statusText == statusText_) {
        return;
    }
    statusText_ = statusText;
    if (dialogHandle_ != nullptr) {
        SendStatusText();
    }
}

void TBrowseDirectoryDlg::SetFitStatusText(bool fit) {
    if (fit == fitStatusText_) {
        return;
    }
    fitStatusText_ = fit;
    if (dialogHandle_ != nullptr) {
        SendStatusText();
    }
}

void TBrowseDirectoryDlg::SetEnableOKButton(bool enable) {
    if (enable == enableOKButton_) {
        return;
    }
    enableOKButton_ = enable;
    if (dialogHandle_ != nullptr) {
        SendEnableOK();
    }
}

bool TBrowseDirectoryDlg::Execute() {
    auto* ownerWindow = qobject_cast<QWidget*>(parent());
    QWidget* dialogParent =
        ownerWindow != nullptr ? ownerWindow->window() : QApplication::activeWindow();
    QFileDialog dialog(dialogParent,
                       title_.isEmpty() ? QStringLiteral("Browse for Folder") : title_);
    dialog.setObjectName(QStringLiteral("BrowseDirectoryDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setDirectory(StartDirectory());
    if (!statusText_.isEmpty()) {
        auto* statusLine = new QLabel(&dialog);
        statusLine->setObjectName(QString::fromLatin1(StatusLineName));
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            grid->addWidget(statusLine, grid->rowCount(), 0, 1, grid->columnCount());
        }
    }
    connect(&dialog, &QFileDialog::currentChanged, this, &TBrowseDirectoryDlg::DoSelChanged);
    connect(&dialog, &QFileDialog::directoryEntered, this, &TBrowseDirectoryDlg::DoSelChanged);

    dialogHandle_ = &dialog;
    DoInitialized();
    const int result = TheModalWindows().ShowModal(dialog);
    dialogHandle_ = nullptr;

    const QStringList chosen = dialog.selectedFiles();
    if (result == QDialog::Accepted && !chosen.isEmpty()) {
        SetSelection(chosen.front());
        return true;
    }
    SetSelection(QString());
    return false;
}

void TBrowseDirectoryDlg::DoInitialized() {
    if (center_) {
        dialogHandle_->adjustSize();
        if (const QScreen* screen = QApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            dialogHandle_->move((area.width() - dialogHandle_->width()) / 2,
                                (area.height() - dialogHandle_->height()) / 2);
        }
    }
    SendEnableOK();
    if (!statusText_.isEmpty()) {
        SendStatusText();
    }
    if (!selection_.isEmpty()) {
        SendSelection();
    }
    if (OnCreate) {
        OnCreate(this);
    }
}

void TBrowseDirectoryDlg::DoSelChanged(const QString& path) {
    if (OnSelChanged) {
        OnSelChanged(this, QFileInfo(path).isDir() ? path : QString());
    }
}

void TBrowseDirectoryDlg::SendEnableOK() {
    auto* buttons = dialogHandle_->findChild<QDialogButtonBox*>();
    if (QPushButton* ok = buttons != nullptr ? buttons->button(QDialogButtonBox::Open) : nullptr) {
        ok->setEnabled(enableOKButton_);
    }
}

void TBrowseDirectoryDlg::SendStatusText() {
    if (auto* statusLine = dialogHandle_->findChild<QLabel*>(QString::fromLatin1(StatusLineName))) {
        statusLine->setText(FittedStatusText());
    }
}

void TBrowseDirectoryDlg::SendSelection() {
    const QString path = FromCoreText(NormalizeForSelection(ToCoreText(selection_)));
    const QFileInfo folder(path);
    dialogHandle_->setDirectory(folder.absolutePath());
    dialogHandle_->selectFile(folder.absoluteFilePath());
}

QString TBrowseDirectoryDlg::FittedStatusText() const {
    auto* statusLine = dialogHandle_ != nullptr
                           ? dialogHandle_->findChild<QLabel*>(QString::fromLatin1(StatusLineName))
                           : nullptr;
    if (!fitStatusText_ || statusLine == nullptr || statusText_.isEmpty()) {
        return statusText_;
    }
    const QFontMetrics metrics(statusLine->font());
    const TextWidthMeasure measure = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(FromCoreText(text));
    };
    const std::string text = ToCoreText(statusText_);
    const int width = statusLine->width();
    return FromCoreText(IsExistingDirectory(text) ? FitPathToWidth(text, width, measure)
                                                  : FitTextToWidth(text, width, measure));
}

QString TBrowseDirectoryDlg::StartDirectory() const {
    switch (root_) {
        case TRootID::idDesktop:
        case TRootID::idDesktopExpanded:
        case TRootID::idDesktopDirectory:
            return StandardDirectory(QStandardPaths::DesktopLocation);
        case TRootID::idPersonal:
            return StandardDirectory(QStandardPaths::DocumentsLocation);
        case TRootID::idDrives:
            return QDir::rootPath();
        case TRootID::idFonts:
            return StandardDirectory(QStandardPaths::FontsLocation);
        case TRootID::idTemplates:
            return StandardDirectory(QStandardPaths::TemplatesLocation);
        default:
            return QDir::homePath();
    }
}

}  // namespace arkivo
