#pragma once
// TSelectionForm, the Cache Explorer: reads the browser cache when it is first
// painted after being opened, shows the web sites found in "Available Domains"
// (SrcList) and "Archive/Delete" (DstList) with the age and type filters and the
// counts of the chosen items, and archives or deletes the chosen items. The
// grouping, the filters and the deletion are the core's (explorer/); the window
// only shows their state and passes the user's choices on.

#include <QDialog>

#include "archiver/archive_run.h"
#include "explorer/domain_grouping.h"
#include "model/edition.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QToolButton;
class QPushButton;

namespace arkivo {

class TControlForm;
class TExportForm;
class TPrefsForm;

class TSelectionForm : public QDialog {
    Q_OBJECT
  public:
    // FormCreate. The main window owns the cache items and the reload flag.
    TSelectionForm(Edition edition, TControlForm& controlForm, TPrefsForm* prefsForm);

    // Reads the cache when the main window asked for it (once per opening).
    void FormPaint();

    void IncludeBtnClick();
    void ExcludeBtnClick();
    void IncAllBtnClick();
    void ExcAllBtnClick();
    void OldNewBoxChange();
    void AgeBoxChange();
    void HDWBoxChange();
    void TextBoxClick();
    void MediaBoxClick();
    void OthersBoxClick();
    void UncacheButtonClick();
    void DeleteButtonClick();
    void PrefsBtnClick();
    void HelpButtonClick();
    void CancelButtonClick();

    const DomainGrouping& Grouping() const { return grouping_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void CreateControls();
    void CreateFilterControls(QWidget* panel);
    void ConnectHandlers();
    void FormShow();

    void BuildDomainList(const AgeWindow& window);
    void FillLists();
    void CountSelection();
    void MoveSelected(QListWidget* list, bool toDst);
    void SetButtons();
    static int GetFirstSelection(const QListWidget* list);
    void SetItem(QListWidget* list, int index);
    void ColourCount(QLabel* panel, bool checked);
    TypeSwitches Switches() const;
    ArchiveRunOptions ArchiveOptions() const;
    ArchiveRunHooks ArchiveHooks(TExportForm& exportForm) const;

    // Says why there is no cache and offers the cache setting; reads the cache again
    // when the Properties were closed with OK, else closes the window.
    void OfferCacheSetting(const std::string& reason);

    // The wait notice over the lists, with the window disabled and the busy cursor.
    void BeginWait(const char* text);
    void EndWait();

    Edition edition_;
    TControlForm& controlForm_;
    TPrefsForm* prefsForm_;
    DomainGrouping grouping_;
    bool paintQueued_ = false;

    QWidget* backPanel_ = nullptr;
    QLabel* fatPanel_ = nullptr;
    QListWidget* srcList_ = nullptr;
    QListWidget* dstList_ = nullptr;
    QToolButton* includeBtn_ = nullptr;
    QToolButton* incAllBtn_ = nullptr;
    QToolButton* excludeBtn_ = nullptr;
    QToolButton* exAllBtn_ = nullptr;
    QComboBox* oldNewBox_ = nullptr;
    QComboBox* ageBox_ = nullptr;
    QComboBox* hdwBox_ = nullptr;
    QCheckBox* textBox_ = nullptr;
    QCheckBox* mediaBox_ = nullptr;
    QCheckBox* othersBox_ = nullptr;
    QLabel* numTextPanel_ = nullptr;
    QLabel* numMediaPanel_ = nullptr;
    QLabel* numOtherPanel_ = nullptr;
};

}  // namespace arkivo
