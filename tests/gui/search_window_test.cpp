// The search window driven through its controls: the stored directory, the three
// checks with their messages and focus, hits with their icons and paths, Stop,
// sorting by URL, opening a hit, the picker and the minimum size.

#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "gui/search/search_window.h"
#include "gui/shell/browse_directory_dialog.h"
#include "gui_test_support.h"
#include "model/cache_item.h"
#include "model/content_types.h"
#include "search/search_form_metrics.h"
#include "shell/settings_store.h"

namespace arkivo {
namespace {

using testing::Find;

using testing::GuiEnvironment;
using testing::WriteTestFile;

struct Archived {
    std::string url;
    std::string name;
    std::string type;
    std::string body;
};

// Writes archive.dat and the archived copies below dir (ending in "/").
void WriteArchive(const std::string& dir, const std::vector<Archived>& entries) {
    TMemoryStream info;
    for (const Archived& entry : entries) {
        TCacheItem item;
        item.Url = entry.url;
        item.ArchiveName = entry.name;
        item.Kind = ContentCodeOf(entry.type);
        item.SaveToStream(info);
        const std::size_t host = entry.url.find("//") + 2;
        WriteTestFile(dir + entry.url.substr(host, entry.url.find(':', host) - host) + "/" +
                          MajorTypeOf(item.Kind) + "/" + entry.name,
                      entry.body);
    }
    WriteTestFile(dir + "archive.dat", info.Bytes());
}

std::string ReadText(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

}  // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT

  private:
    // The window shown and active, so focus can be checked.
    static void Show(TSearchFrm& window) {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    std::string SampleArchive(GuiEnvironment& env) {
        const std::string dir = env.Path("archive/");
        LoadMimeTypes(env.Path("mime/"));
        WriteArchive(dir,
                     {{"http://www.zeta.example:80/news.html", "news.htm", "text/html",
                       "<p>Total ECLIPSE tonight</p>"},
                      {"http://www.alpha.example:80/sky.gif", "sky.gif", "image/gif", "GIF"},
                      {"http://www.alpha.example:8080/eclipse.html", "eclipse.htm", "text/html",
                       "<p>nothing</p>"},
                      {"http://www.mid.example:80/song.wav", "song.wav", "audio/x-wav", "RIFF"}});
        return dir;
    }

    QStringList Captions(TSearchFrm& window) {
        auto* view = Find<QTreeWidget>(window, "ResultView");
        QStringList captions;
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            captions << view->topLevelItem(i)->text(0);
        }
        return captions;
    }

  private slots:
    void controlsCarryTheirNamesAndTexts() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        TSearchFrm window(store);
        QCOMPARE(window.windowTitle(), QStringLiteral("Arkivo - Search Archive"));
        const std::vector<std::pair<const char*, const char*>> labels = {
            {"URLEdit", "Find in &URL"}, {"HTMLEdit", "Find in &Text"}, {"DirEdit", "&Look in"}};
        for (const auto& [edit, text] : labels) {
            bool found = false;
            for (QLabel* label : window.findChildren<QLabel*>()) {
                found = found || (label->buddy() == Find<QLineEdit>(window, edit) &&
                                  label->text() == QString::fromLatin1(text));
            }
            QVERIFY2(found, edit);
        }
        QCOMPARE(Find<QPushButton>(window, "BrowseButton")->text(), QStringLiteral("&Browse"));
        QCOMPARE(Find<QPushButton>(window, "FindButton")->text(), QStringLiteral("&Find"));
        QVERIFY(Find<QPushButton>(window, "FindButton")->isDefault());
        QCOMPARE(Find<QPushButton>(window, "StopButton")->text(), QStringLiteral("&Stop"));
        QVERIFY(!Find<QPushButton>(window, "StopButton")->isEnabled());
        auto* view = Find<QTreeWidget>(window, "ResultView");
        QCOMPARE(view->headerItem()->text(0), QStringLiteral("URL"));
        QCOMPARE(view->headerItem()->text(1), QStringLiteral("Archive File"));
        const int dpi = window.logicalDpiX();
        QCOMPARE(view->columnWidth(0), 330 * dpi / 120);
        QCOMPARE(view->columnWidth(1), 260 * dpi / 120);
    }

    void thePopupMenuOpensAndCancels() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        TSearchFrm window(store);
        auto* menu = Find<QMenu>(window, "PopupMenu1");
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[0]->text(), QStringLiteral("Open"));
        QCOMPARE(menu->defaultAction(), actions[0]);
        QCOMPARE(actions[1]->text(), QStringLiteral("open"));
        QVERIFY(!actions[1]->isVisible());
        QCOMPARE(actions[1]->shortcut(), QKeySequence(Qt::Key_Return));
        QCOMPARE(actions[2]->text(), QStringLiteral("Cancel"));
    }

    void theWindowNeverGetsSmallerThanTheMinimum() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        TSearchFrm window(store);
        Show(window);
        const FormSize minimum = SearchFormMinimumSize(window.logicalDpiY());
        window.resize(100, 100);
        QCOMPARE(window.width(), minimum.Width);
        QCOMPARE(window.height(), minimum.Height);
        const FormSize initial = SearchFormInitialSize(window.logicalDpiY());
        window.resize(initial.Width, initial.Height);
        QCOMPARE(window.size(), QSize(initial.Width, initial.Height));
    }

    void theDirectoryComesFromTheSettings() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        {
            TSearchFrm window(store);
            QCOMPARE(Find<QLineEdit>(window, "DirEdit")->text(),
                     QString::fromStdString(env.ProgramDirectory() + "ARCHIVE/"));
        }
        QVERIFY(
            store.WriteString("Export to disk properties", "Default directory", "/srv/a/").ok());
        {
            TSearchFrm window(store);
            QCOMPARE(Find<QLineEdit>(window, "DirEdit")->text(), QStringLiteral("/srv/a/"));
        }
        QVERIFY(store.WriteString("Search properties", "Search directory", "/srv/b").ok());
        TSearchFrm window(store);
        QCOMPARE(Find<QLineEdit>(window, "DirEdit")->text(), QStringLiteral("/srv/b"));
    }

    void findChecksTheTextsThenTheDirectoryThenArchiveDat() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        TSearchFrm window(store);
        Show(window);
        auto* urlEdit = Find<QLineEdit>(window, "URLEdit");
        auto* dirEdit = Find<QLineEdit>(window, "DirEdit");
        const auto& shown = env.Dialogs().Shown();

        dirEdit->setFocus();
        window.FindButtonClick();
        QCOMPARE(shown.size(), std::size_t{1});
        QCOMPARE(shown.back().Text, std::string("Enter some search text."));
        QCOMPARE(shown.back().Icon, DialogIcon::Information);
        QCOMPARE(shown.back().Buttons, DialogButtons::Ok);
        QCOMPARE(QApplication::focusWidget(), urlEdit);

        Find<QLineEdit>(window, "HTMLEdit")->setText(QStringLiteral("x"));
        dirEdit->setText(QString::fromStdString(env.Path("nowhere")));
        window.FindButtonClick();
        QCOMPARE(shown.back().Text, "Couldn't find directory\r\n\r\n" + env.Path("nowhere"));
        QCOMPARE(QApplication::focusWidget(), dirEdit);

        urlEdit->setFocus();
        dirEdit->setText(QString::fromStdString(env.Path("config")));
        window.FindButtonClick();
        QCOMPARE(shown.back().Text,
                 std::string("Couldn't find an archive info file\r\n(archive.dat) in this "
                             "directory."));
        QCOMPARE(QApplication::focusWidget(), dirEdit);
        QCOMPARE(shown.size(), std::size_t{3});
        QCOMPARE(store.ReadString("Search properties", "Search directory", "none"),
                 std::string("none"));
    }

    void findListsTheHitsAndStoresTheDirectory() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        const std::string dir = SampleArchive(env);
        TSearchFrm window(store);
        const QString typed = QString::fromStdString(dir).chopped(1);  // no trailing separator
        Find<QLineEdit>(window, "DirEdit")->setText(typed);
        Find<QLineEdit>(window, "URLEdit")->setText(QStringLiteral("EXAMPLE"));
        window.FindButtonClick();
        QVERIFY(env.Dialogs().Shown().empty());
        QCOMPARE(Captions(window), (QStringList{"http://www.zeta.example/news.html",
                                                "http://www.alpha.example/sky.gif",
                                                "http://www.alpha.example:8080/eclipse.html",
                                                "http://www.mid.example/song.wav"}));
        auto* view = Find<QTreeWidget>(window, "ResultView");
        QCOMPARE(view->topLevelItem(0)->text(1),
                 QString::fromStdString(dir + "www.zeta.example/text/news.htm"));
        QCOMPARE(view->topLevelItem(1)->text(1),
                 QString::fromStdString(dir + "www.alpha.example/image/sky.gif"));
        const QList<int> imageIndexes = {0, 1, 0, 2};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(view->topLevelItem(i)->data(0, Qt::UserRole + 1).toInt(), imageIndexes[i]);
            QVERIFY(!view->topLevelItem(i)->icon(0).isNull());
        }
        QVERIFY(Find<QPushButton>(window, "FindButton")->isEnabled());
        QVERIFY(!Find<QPushButton>(window, "StopButton")->isEnabled());
        QCOMPARE(store.ReadString("Search properties", "Search directory", ""),
                 typed.toStdString());
    }

    void pageTextFindsOnlyHtmlPagesThatHoldIt() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        const std::string dir = SampleArchive(env);
        TSearchFrm window(store);
        Find<QLineEdit>(window, "DirEdit")->setText(QString::fromStdString(dir));
        Find<QLineEdit>(window, "HTMLEdit")->setText(QStringLiteral("eclipse"));
        window.FindButtonClick();
        QCOMPARE(Captions(window), QStringList{"http://www.zeta.example/news.html"});
    }

    void noHitsSaysSoAndStillStoresTheDirectory() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        const std::string dir = SampleArchive(env);
        TSearchFrm window(store);
        Find<QLineEdit>(window, "DirEdit")->setText(QString::fromStdString(dir));
        Find<QLineEdit>(window, "URLEdit")->setText(QStringLiteral(":80/"));
        window.FindButtonClick();
        QCOMPARE(Captions(window), QStringList{});
        QCOMPARE(env.Dialogs().Shown().size(), std::size_t{1});
        QCOMPARE(env.Dialogs().Shown().back().Text, std::string("No files found."));
        QCOMPARE(store.ReadString("Search properties", "Search directory", ""), dir);
    }

    void stopKeepsTheHitsFoundSoFar() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        const std::string dir = SampleArchive(env);
        TSearchFrm window(store);
        Find<QLineEdit>(window, "DirEdit")->setText(QString::fromStdString(dir));
        Find<QLineEdit>(window, "URLEdit")->setText(QStringLiteral("example"));
        auto* stop = Find<QPushButton>(window, "StopButton");
        // Pressed while the first record is being handled.
        QTimer::singleShot(0, stop, [stop] {
            QVERIFY(stop->isEnabled());
            stop->click();
        });
        window.FindButtonClick();
        QCOMPARE(Captions(window), QStringList{"http://www.zeta.example/news.html"});
        QVERIFY(env.Dialogs().Shown().empty());
        QVERIFY(!stop->isEnabled());
        QVERIFY(Find<QPushButton>(window, "FindButton")->isEnabled());
    }

    void stopBeforeAnyHitSaysNoFilesFound() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        const std::string dir = SampleArchive(env);
        TSearchFrm window(store);
        Find<QLineEdit>(window, "DirEdit")->setText(QString::fromStdString(dir));
        Find<QLineEdit>(window, "URLEdit")->setText(QStringLiteral("song"));
        auto* stop = Find<QPushButton>(window, "StopButton");
        QTimer::singleShot(0, stop, &QPushButton::click);
        window.FindButtonClick();
        QCOMPARE(Captions(window), QStringList{});
        QCOMPARE(env.Dialogs().Shown().back().Text, std::string("No files found."));
    }

    void eitherColumnHeaderSortsByUrl() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        const std::string dir = SampleArchive(env);
        TSearchFrm window(store);
        Show(window);
        Find<QLineEdit>(window, "DirEdit")->setText(QString::fromStdString(dir));
        Find<QLineEdit>(window, "URLEdit")->setText(QStringLiteral("http"));
        window.FindButtonClick();
        const QStringList sorted = {
            "http://www.alpha.example/sky.gif", "http://www.alpha.example:8080/eclipse.html",
            "http://www.mid.example/song.wav", "http://www.zeta.example/news.html"};
        auto* header = Find<QTreeWidget>(window, "ResultView")->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
        QCOMPARE(Captions(window), sorted);
        window.FindButtonClick();  // back in file order
        QVERIFY(Captions(window) != sorted);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
        QCOMPARE(Captions(window), sorted);
    }

    void aHitOpensByDoubleClickMenuAndEnter() {
        GuiEnvironment env;
        const std::string opened = env.Path("opened");
        env.FakeXdgOpen("echo \"$1\" >> '" + opened + "'");
        SettingsStore store(env.SettingsFile());
        const std::string dir = SampleArchive(env);
        TSearchFrm window(store);
        Show(window);
        Find<QLineEdit>(window, "DirEdit")->setText(QString::fromStdString(dir));
        Find<QLineEdit>(window, "URLEdit")->setText(QStringLiteral("song"));
        window.FindButtonClick();
        auto* view = Find<QTreeWidget>(window, "ResultView");

        window.ResultViewDblClick();  // nothing selected: nothing opens
        QVERIFY(!QFile::exists(QString::fromStdString(opened)));

        QTreeWidgetItem* row = view->topLevelItem(0);
        view->setCurrentItem(row);
        const QRect cell = view->visualItemRect(row);
        const QString path = QString::fromStdString(dir + "www.mid.example/audio/song.wav\n");
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTRY_COMPARE(QString::fromStdString(ReadText(opened)), path);
        Find<QMenu>(window, "PopupMenu1")->actions()[0]->trigger();
        QTRY_COMPARE(QString::fromStdString(ReadText(opened)), path + path);
        QSignalSpy findClicks(Find<QPushButton>(window, "FindButton"), &QPushButton::clicked);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(findClicks.count(), 0);  // Enter in the list is not the Find button's
        QTRY_COMPARE(QString::fromStdString(ReadText(opened)), path + path + path);
        QVERIFY(env.Dialogs().Shown().empty());
    }

    void browseTakesTheChosenDirectory() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        const std::string dir = SampleArchive(env);
        TSearchFrm window(store);
        auto* picker =
            window.findChild<TBrowseDirectoryDlg*>(QStringLiteral("BrowseDirectoryDlg1"));
        QVERIFY(picker != nullptr);
        QVERIFY(picker->EnableOKButton());
        picker->OnSelChanged(picker, QString());
        QVERIFY(!picker->EnableOKButton());
        picker->OnSelChanged(picker, QStringLiteral("/tmp"));
        QVERIFY(picker->EnableOKButton());

        QString started;
        env.Windows().Queue([&](QDialog& dialog) {
            auto& files = static_cast<QFileDialog&>(dialog);
            started = files.selectedFiles().value(0);
            files.selectFile(QString::fromStdString(dir).chopped(1));
            dialog.accept();  // QFileDialog::accept, through the public slot
        });
        Find<QLineEdit>(window, "DirEdit")->setText(QString::fromStdString(env.Path("config")));
        window.BrowseButtonClick();
        QCOMPARE(started, QString::fromStdString(env.Path("config")));
        QCOMPARE(Find<QLineEdit>(window, "DirEdit")->text(), QString::fromStdString(dir));

        env.Windows().Queue([](QDialog& dialog) { dialog.reject(); });
        window.BrowseButtonClick();
        QCOMPARE(Find<QLineEdit>(window, "DirEdit")->text(), QString::fromStdString(dir));
    }

    void showSearchWindowShowsItModally() {
        GuiEnvironment env;
        SettingsStore store(env.SettingsFile());
        QString title;
        env.Windows().Queue([&](QDialog& dialog) { title = dialog.windowTitle(); });
        ShowSearchWindow(store, nullptr);
        QCOMPARE(env.Windows().Shown(), std::vector<QString>{QStringLiteral("SearchFrm")});
        QCOMPARE(title, QStringLiteral("Arkivo - Search Archive"));
    }
};

}  // namespace arkivo

QTEST_MAIN(arkivo::SearchWindowTest)
#include "search_window_test.moc"
