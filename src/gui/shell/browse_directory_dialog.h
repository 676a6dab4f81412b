#pragma once
// TBrowseDirectoryDlg: lets the user choose a directory in Qt's own (non-native)
// directory dialog and hands back its path. It keeps a preset selection, centres
// the dialog, lets its owner switch the dialog's OK button from a selection-changed
// event, and can show a status line whose text is shortened to fit the dialog
// ("..." in place of leading directories for a path). Properties set while the
// dialog is open update it at once.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include <QFileDialog>

namespace arkivo {

// The folder the dialog starts in when no Selection is preset.
enum class TRootID {
    idDesktop,
    idDesktopExpanded,
    idPrograms,
    idControlPanel,
    idPrinters,
    idPersonal,
    idFavorites,
    idStartup,
    idRecent,
    idSendTo,
    idRecycleBin,
    idStartMenu,
    idDesktopDirectory,
    idDrives,
    idNetwork,
    idNetHood,
    idFonts,
    idTemplates,
};

// What may be chosen. Only directories can be chosen in this dialog; the flags are
// kept for the windows that set them.
enum TBrowseFlag : unsigned {
    bfDirectoriesOnly = 0x0001,
    bfDomainOnly = 0x0002,
    bfAncestors = 0x0008,
    bfComputers = 0x1000,
    bfPrinters = 0x2000,
};
using TBrowseFlags = unsigned;

class TBrowseDirectoryDlg : public QObject {
    Q_OBJECT
  public:
    // Raised each time the highlighted folder changes, with its path (empty when it
    // has none).
    using TBDSelChangedEvent =
        std::function<void(TBrowseDirectoryDlg* sender, const QString& newSel)>;
    using TNotifyEvent = std::function<void(TBrowseDirectoryDlg* sender)>;

    explicit TBrowseDirectoryDlg(QObject* owner = nullptr);
    ~TBrowseDirectoryDlg() override;

    // Runs the dialog modally. True when the user confirmed a folder: Selection
    // then holds its path with a trailing separator. False when cancelled: Selection
    // is then empty.
    bool Execute();

    const QString& Selection() const { return selection_; }
    void SetSelection(const QString& selection);
    const QString& Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }
    TRootID Root() const { return root_; }
    void SetRoot(TRootID root) { root_ = root; }
    TBrowseFlags Options() const { return options_; }
    void SetOptions(TBrowseFlags options) { options_ = options; }
    bool Center() const { return center_; }
    void SetCenter(bool center) { center_ = center; }
    const QString& StatusText() const { return statusText_; }
    void SetStatusText(const QString& statusText);
    bool FitStatusText() const { return fitStatusText_; }
    void SetFitStatusText(bool fit);
    bool EnableOKButton() const { return enableOKButton_; }
    void SetEnableOKButton(bool enable);

    TBDSelChangedEvent OnSelChanged;
    TNotifyEvent OnCreate;

    // The open dialog; nullptr when none is open.
    QFileDialog* DialogHandle() const { return dialogHandle_; }

  private:
    void DoInitialized();
    void DoSelChanged(const QString& path);
    void SendEnableOK();
    void SendStatusText();
    void SendSelection();
    QString FittedStatusText() const;
    QString StartDirectory() const;

    QString selection_;
    QString title_;
    TRootID root_ = TRootID::idDesktopExpanded;
    TBrowseFlags options_ = 0;
    bool center_ = true;
    QString statusText_;
    bool fitStatusText_ = true;
    bool enableOKButton_ = false;
    QPointer<QFileDialog> dialogHandle_;
};

}  // namespace arkivo
