#pragma once
// TSearchFrm, the archive search window: finds archived items of one archive
// directory by text in their URL and in their archived pages (search/archive_search.h
// does the search), lists the hits with an icon for their file class and opens a
// hit in its program. Created for each use by ShowSearchWindow and shown modally.

#include <QDialog>

#include "search/archive_search.h"
#include "shell/settings_store.h"

class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;

namespace arkivo {

class TBrowseDirectoryDlg;

class TSearchFrm : public QDialog {
    Q_OBJECT
  public:
    // FormCreate: the controls, and DirEdit from the stored search directory.
    explicit TSearchFrm(SettingsStore& store, QWidget* parent = nullptr);

    // Checks the input (texts, directory, archive.dat), runs SearchArchive and
    // stores the directory.
    void FindButtonClick();
    // Ends a running search after the current item.
    void StopButtonClick();
    // Opens the selected hit's archived file.
    void ResultViewDblClick();
    // Sorts the rows by URL, whichever column was clicked.
    void ResultViewColumnClick(int column);
    void BrowseButtonClick();

  protected:
    // Closing the window during a search stops it.
    void reject() override;

  private:
    void CreateControls();
    void CreatePopupMenu();
    void SearchArchive();
    void AddHit(const SearchHit& hit);
    void ShowInformation(std::string_view text);

    SettingsStore& store_;
    bool stopFlag_ = false;
    QLineEdit* urlEdit_ = nullptr;
    QLineEdit* htmlEdit_ = nullptr;
    QLineEdit* dirEdit_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QPushButton* findButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QTreeWidget* resultView_ = nullptr;
    QMenu* resultMenu_ = nullptr;
    TBrowseDirectoryDlg* directoryPicker_ = nullptr;
};

// Creates the search window, shows it modally and frees it when it closes.
void ShowSearchWindow(SettingsStore& store, QWidget* parent);

}  // namespace arkivo
