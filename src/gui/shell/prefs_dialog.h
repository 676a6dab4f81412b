#pragma once
// The Properties dialog, PrefsForm: where the user edits the stored settings (the
// archive directory, the link options and emphasis tags of archived pages, whether
// archive runs also write a web archive and, on the Browser tab, ArkivoNav's
// Netscape cache index path or ArkivoIE's Internet Explorer cache folder). It is
// created hidden at start-up, which loads the settings and sets the program-wide
// values, and is shown modally on request. Every close reloads the stored
// settings, so unsaved edits are dropped and the program-wide values match the
// store again.

#include <QDialog>

#include "model/edition.h"
#include "shell/program_settings.h"
#include "shell/settings_store.h"

class QAbstractButton;
class QCheckBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace arkivo {

class TBrowseDirectoryDlg;

class TPrefsForm : public QDialog {
    Q_OBJECT
  public:
    // FormCreate: builds the controls and runs FillInText.
    TPrefsForm(Edition edition, SettingsStore& store, QWidget* parent = nullptr);

    void FillInText();
    void WriteSettingsToIni();

    // The link options, as their check boxes show them at this moment.
    bool ShowOriginalUrls() const;
    bool EmphasizeLinks() const;
    bool StrikeoutLinks() const;
    // Whether archive runs also write a WARC, as its check box shows at this moment.
    bool WriteWebArchive() const;
    void SetShowOriginalUrls(bool on);
    void SetEmphasizeLinks(bool on);
    void SetStrikeoutLinks(bool on);

    TBrowseDirectoryDlg* BrowseDirectoryDlg1() const { return directoryPicker_; }

    // Turns to the Browser tab, where the cache is chosen.
    void ShowCacheSetting();

    // Closing with every result runs FormClose.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* CreateGeneralTab();
    QWidget* CreateBrowserTab();
    QWidget* CreateIeCacheTab();
    void CreateEmphasisPanel(QWidget* tab);
    void ConnectHandlers();

    void FormShow();
    void FormClose();
    void OKBtnClick();
    void ApplyBtnClick();
    void ChooseDirectoryRBClick();
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CustomRBClick();
    void EmphasizedEBChange();
    void DefaultDirectoryEBChange();
    void ExportDirNameEBChange();
    void BrowseSpeedButtonClick();
    void BrowseButtonClick();
    void BrowseDirectoryDlg1SelChanged(TBrowseDirectoryDlg* sender, const QString& newSel);
    void BrowseFATBtnClick();
    void BrowseIECacheBtnClick();
    void FATEditChange();

    void EnableApply();
    void DirectoryEdited(QLineEdit* edit);
    void BrowseInto(QLineEdit* edit);
    ProgramSettings ShownSettings() const;

    Edition edition_;
    SettingsStore& store_;
    bool loading_ = false;

    QTabWidget* exportPageControl_ = nullptr;
    QWidget* browserTab_ = nullptr;
    QRadioButton* useDefaultRB_ = nullptr;
    QRadioButton* chooseDirectoryRB_ = nullptr;
    QLineEdit* defaultDirectoryEB_ = nullptr;
    QLineEdit* exportDirNameEB_ = nullptr;
    QPushButton* browseSpeedButton_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QCheckBox* originalUrlsBox_ = nullptr;
    QCheckBox* emphasizeLinksBox_ = nullptr;
    QCheckBox* strikeoutLinksBox_ = nullptr;
    QCheckBox* webArchiveBox_ = nullptr;
    QRadioButton* boldRB_ = nullptr;
    QRadioButton* italicizedRB_ = nullptr;
    QRadioButton* largerTextRB_ = nullptr;
    QRadioButton* customRB_ = nullptr;
    QLineEdit* emphasizedEB_ = nullptr;
    QLineEdit* deEmphasizedEB_ = nullptr;
    QLabel* emphasisPreview_ = nullptr;
    QLineEdit* fatEdit_ = nullptr;
    QLineEdit* ieCacheEdit_ = nullptr;
    QPushButton* applyBtn_ = nullptr;
    TBrowseDirectoryDlg* directoryPicker_ = nullptr;
};

}  // namespace arkivo
