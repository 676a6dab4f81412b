#pragma once
// The main window, ControlForm: a small launcher with four picture buttons (Cache
// Explorer, default index, archive search, Properties), each with a line of text,
// and the File, View and Help menus. It owns the settings store and the list of
// cache items that the readers fill and the Cache Explorer shows.

#include <QMainWindow>
#include <functional>
#include <memory>

#include "model/cache_item.h"
#include "model/edition.h"
#include "shell/settings_store.h"

class QLabel;
class QToolButton;

namespace arkivo {

class TPrefsForm;
enum class ButtonGlyph;

class TControlForm : public QMainWindow {
    Q_OBJECT
  public:
    // FormCreate: the hand cursor, the empty CacheItems and the settings store.
    explicit TControlForm(Edition edition, SettingsStore store = SettingsStore());
    // FormDestroy: the cache items, first to last, then the store.
    ~TControlForm() override;

    SettingsStore& Settings() { return *settingsStore_; }
    TCacheItemList& CacheItems() { return cacheItems_; }
    bool CacheReloadPending() const { return cacheReloadPending_; }
    void SetCacheReloadPending(bool pending) { cacheReloadPending_ = pending; }

    // The Properties dialog, created after this window at start-up.
    void SetPrefsForm(TPrefsForm* prefsForm) { prefsForm_ = prefsForm; }

    // Connection point for the Cache Explorer window: it is created hidden at
    // start-up and shown modally by ArkivoButtonClick.
    void SetCacheExplorer(QDialog* cacheExplorer) { cacheExplorer_ = cacheExplorer; }

    // Connection point for the archive search window: ShowSearchWindow creates it,
    // shows it modally and frees it.
    void SetShowSearchWindow(std::function<void()> showSearchWindow) {
        showSearchWindow_ = std::move(showSearchWindow);
    }

    void ArkivoButtonClick();
    void ViewButtonClick();
    void SearchButtonClick();
    void SetupButtonClick();
    void Contents1Click();
    void About1Click();
    void Exit1Click();

    // Another start of the program asked for this window: bring it to the front.
    void ActivateFromAnotherInstance();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    void CreateMenus();
    QToolButton* AddPictureButton(QWidget* panel, const char* name, int top, ButtonGlyph glyph);
    void AddDescription(QWidget* panel, const char* name, int top, int width, const char* text);
    void ArkivoButtonMouseMove(QWidget* button);

    Edition edition_;
    std::unique_ptr<SettingsStore> settingsStore_;
    TCacheItemList cacheItems_;
    bool cacheReloadPending_ = false;
    TPrefsForm* prefsForm_ = nullptr;
    QDialog* cacheExplorer_ = nullptr;
    std::function<void()> showSearchWindow_;
    QLabel* smallLogo_ = nullptr;
    QList<QToolButton*> buttons_;
};

}  // namespace arkivo
