// ControlForm: its layout and menus, descriptions that fit the font used, the keys
// of the picture buttons, the default index, the Cache Explorer gate of ArkivoNav,
// help (also under a modal window), the About box and activation by a later start.

#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "gui/common/help_viewer_window.h"
#include "gui/shell/control_window.h"
#include "gui/shell/prefs_dialog.h"
#include "gui_test_support.h"
#include "shell/help_file.h"
#include "shell/open_document.h"
#include "shell/program_values.h"

namespace arkivo {
namespace {

using testing::Find;

// Notes whether the window it watches was blocked by a modal window.
class BlockWatcher : public QObject {
  public:
    bool Blocked = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        Blocked = Blocked || event->type() == QEvent::WindowBlocked;
        return QObject::eventFilter(watched, event);
    }
};

const char* const NoIndexText =
    "No default index exists.\r\n\r\nUse the Cache Explorer\r\nto create one.";

}  // namespace

class ControlWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testing::GuiEnvironment> env_;
    std::unique_ptr<TControlForm> form_;
    std::unique_ptr<TPrefsForm> prefs_;

    void Start(Edition edition) {
        form_ = std::make_unique<TControlForm>(edition);
        prefs_ = std::make_unique<TPrefsForm>(edition, form_->Settings(), form_.get());
        form_->SetPrefsForm(prefs_.get());
    }

    void StoreDefaultDirectory(const std::string& directory) {
        QVERIFY(form_->Settings()
                    .WriteString("Export to disk properties", "Default directory", directory)
                    .ok());
    }

  private slots:
    void init() { env_ = std::make_unique<testing::GuiEnvironment>(); }
    void cleanup() {
        QFont::removeSubstitutions(QStringLiteral("Arial"));
        prefs_.reset();
        form_.reset();
        env_.reset();
    }

    void layoutFollowsTheDesign() {
        Start(Edition::Nav);
        QCOMPARE(form_->windowTitle(), QStringLiteral("Arkivo"));
        QWidget* panel = form_->centralWidget();
        QCOMPARE(panel->size(), QSize(452, 384));
        QCOMPARE(panel->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(!(form_->windowFlags() & Qt::WindowMaximizeButtonHint));
        const struct {
            const char* name;
            QRect geometry;
        } places[] = {{"ArkivoButton", {72, 88, 49, 49}},  {"ViewButton", {72, 152, 49, 49}},
                      {"SearchButton", {72, 216, 49, 49}}, {"SetupButton", {72, 280, 49, 49}},
                      {"Shape1", {71, 87, 51, 51}},        {"Shape4", {71, 279, 51, 51}},
                      {"Label1", {144, 88, 281, 60}},      {"Label4", {144, 280, 289, 60}},
                      {"Image1", {144, 10, 200, 60}},      {"Image3", {23, 1, 44, 500}},
                      {"Image2", {184, 341, 117, 32}}};
        for (const auto& place : places) {
            QCOMPARE(Find<QWidget>(*form_, place.name)->geometry(), place.geometry);
        }
        QCOMPARE(Find<QLabel>(*form_, "Label2")->text(),
                 QStringLiteral("Display default index: Show the index page for the items in "
                                "your current default archive directory."));
        QVERIFY(Find<QLabel>(*form_, "Label3")->font().bold());
        QCOMPARE(Find<QToolButton>(*form_, "ViewButton")->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(Find<QLabel>(*form_, "Image2")->cursor().shape(), Qt::BitmapCursor);
    }

    // Whichever font stands in for Arial, every line of the descriptions shows.
    void descriptionsFitInTheFontUsed_data() {
        QTest::addColumn<QString>("family");
        for (const char* family : {"DejaVu Sans", "Liberation Sans", "Nimbus Sans"}) {
            QTest::newRow(family) << QString::fromLatin1(family);
        }
    }
    void descriptionsFitInTheFontUsed() {
        QFETCH(QString, family);
        if (!QFontDatabase::hasFamily(family)) {
            QSKIP(qPrintable(family + " is not installed (Debian: fonts-dejavu-core, "
                                      "fonts-liberation, fonts-urw-base35)"));
        }
        QFont::insertSubstitution(QStringLiteral("Arial"), family);
        Start(Edition::Nav);
        int nextTop = 344;  // the small logo below the last row
        for (const char* name : {"Label4", "Label3", "Label2", "Label1"}) {
            auto* label = Find<QLabel>(*form_, name);
            QVERIFY(QFontInfo(label->font()).family().startsWith(family));
            const QRect needed = QFontMetrics(label->font())
                                     .boundingRect(QRect(0, 0, label->width(), 1000),
                                                   Qt::TextWordWrap, label->text());
            QVERIFY2(needed.height() <= label->height(), name);
            QVERIFY2(needed.width() <= label->width(), name);
            QVERIFY2(label->geometry().bottom() < nextTop, name);
            QVERIFY2(label->font().pixelSize() >= 9, name);
            nextTop = label->y();
        }
    }

    // Return and the keypad's Enter press the focused picture button; Alt+Enter is
    // Properties.
    void returnAndEnterPressTheFocusedButton() {
        Start(Edition::Nav);
        StoreDefaultDirectory(env_->Path("none/"));
        auto* view = Find<QToolButton>(*form_, "ViewButton");
        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClick(view, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(env_->Dialogs().Shown().size(), size_t(2));
        QCOMPARE(env_->Dialogs().Shown()[1].Text, std::string(NoIndexText));
        QTest::keyClick(view, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(env_->Dialogs().Shown().size(), size_t(2));
        auto* properties = form_->findChild<QAction*>(QStringLiteral("Properties1"));
        QCOMPARE(properties->shortcut().toString(QKeySequence::NativeText),
                 QStringLiteral("Alt+Enter"));
        QCOMPARE(properties->shortcuts().size(), 2);
        QVERIFY(properties->shortcuts().contains(QKeySequence(Qt::ALT | Qt::Key_Return)));
    }

    void tabOrderRunsDownTheButtons() {
        Start(Edition::IE);
        QWidget* button = Find<QWidget>(*form_, "ArkivoButton");
        QStringList order;
        for (int i = 0; i < 4; ++i) {
            order << button->objectName();
            do {
                button = button->nextInFocusChain();
            } while (button->focusPolicy() == Qt::NoFocus);
        }
        QCOMPARE(order, QStringList({"ArkivoButton", "ViewButton", "SearchButton", "SetupButton"}));
    }

    void menusCarryTheirCaptionsAndShortcuts() {
        Start(Edition::Nav);
        const struct {
            const char* name;
            const char* caption;
            QKeySequence shortcut;
        } items[] = {{"Properties1", "P&roperties", QKeySequence(Qt::ALT | Qt::Key_Enter)},
                     {"Exit1", "E&xit", {}},
                     {"CacheExplorer1", "Cache &Explorer", QKeySequence(Qt::CTRL | Qt::Key_E)},
                     {"DefaultIndex1", "&Default Index", QKeySequence(Qt::CTRL | Qt::Key_D)},
                     {"SearchForm1", "&Search...", QKeySequence(Qt::CTRL | Qt::Key_S)},
                     {"Contents1", "&Contents", {}},
                     {"About1", "&About", {}}};
        for (const auto& item : items) {
            auto* action = form_->findChild<QAction*>(QString::fromLatin1(item.name));
            QVERIFY2(action != nullptr, item.name);
            QCOMPARE(action->text(), QString::fromLatin1(item.caption));
            QCOMPARE(action->shortcut(), item.shortcut);
        }
        QStringList menus;
        for (QAction* menu : form_->menuBar()->actions()) {
            menus << menu->menu()->objectName() + "=" + menu->text();
        }
        QCOMPARE(menus, QStringList({"File1=&File", "Setup1=&View", "Help1=&Help"}));
    }

    void noDefaultIndexIsReported() {
        Start(Edition::Nav);
        QTest::keyClick(form_.get(), Qt::Key_D, Qt::ControlModifier);
        form_->findChild<QAction*>(QStringLiteral("DefaultIndex1"))->trigger();
        QCOMPARE(env_->Dialogs().Shown().size(), size_t(1));
        QCOMPARE(env_->Dialogs().Shown()[0].Text, std::string(NoIndexText));
        QCOMPARE(env_->Dialogs().Shown()[0].Icon, DialogIcon::Information);
    }

    void storedDirectoryWithoutSeparatorFindsItsIndex() {
        Start(Edition::IE);
        const std::string archive = env_->Path("archive");
        testing::WriteTestFile(archive + "/1st_page.htm", "<html></html>");
        StoreDefaultDirectory(archive);
        const std::string opened = env_->Path("opened");
        env_->FakeXdgOpen("echo \"$1\" > '" + opened + "'");
        Find<QToolButton>(*form_, "ViewButton")->click();
        QVERIFY(env_->Dialogs().Shown().empty());
        QFile file(QString::fromStdString(opened));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().toStdString(), archive + "/1st_page.htm\n");
    }

    void openDocumentFailuresAreReportedWithThePath_data() {
        QTest::addColumn<QString>("xdgOpen");
        QTest::addColumn<int>("result");
        QTest::newRow("no program for it") << "exit 3" << ShellNoAssociation;
        QTest::newRow("file missing") << "exit 2" << ShellFileNotFound;
        QTest::newRow("other failure") << "exit 1" << ShellOtherFailure;
        QTest::newRow("xdg-open missing") << "exec /nonexistent/xdg-open" << ShellNoAssociation;
    }
    void openDocumentFailuresAreReportedWithThePath() {
        QFETCH(QString, xdgOpen);
        QFETCH(int, result);
        Start(Edition::Nav);
        const std::string archive = env_->Path("archive/");
        testing::WriteTestFile(archive + "1st_page.htm", "<html></html>");
        StoreDefaultDirectory(archive);
        env_->FakeXdgOpen(xdgOpen.toStdString());
        form_->ViewButtonClick();
        QCOMPARE(env_->Dialogs().Shown().size(), size_t(1));
        const DialogMessage& shown = env_->Dialogs().Shown()[0];
        QCOMPARE(shown.Text, OpenDocumentMessage(result, archive + "1st_page.htm"));
        QCOMPARE(shown.Icon, DialogIcon::Error);
    }

    void missingCacheIndexOpensTheBrowserTabInstead() {
        Start(Edition::Nav);
        form_->SetCacheReloadPending(false);
        QString tabShown;
        env_->Windows().Queue([&](QDialog& window) {
            tabShown = Find<QTabWidget>(window, "ExportPageControl")->currentWidget()->objectName();
        });
        QTest::keyClick(form_.get(), Qt::Key_E, Qt::ControlModifier);
        form_->ArkivoButtonClick();
        QCOMPARE(env_->Dialogs().Shown().size(), size_t(1));
        QCOMPARE(env_->Dialogs().Shown()[0].Text,
                 std::string("The path to the Netscape\r\nis invalid. Please locate\r\nit manually "
                             "using the \r\nproperties screen."));
        QCOMPARE(env_->Dialogs().Shown()[0].Icon, DialogIcon::Information);
        QCOMPARE(env_->Windows().Shown(), std::vector<QString>({QStringLiteral("PrefsForm")}));
        QCOMPARE(tabShown, QStringLiteral("BrowserTab"));
        QVERIFY(!form_->CacheReloadPending());
    }

    void cacheExplorerCommandEmptiesTheItems_data() {
        QTest::addColumn<Edition>("edition");
        QTest::newRow("ArkivoNav") << Edition::Nav;
        QTest::newRow("ArkivoIE") << Edition::IE;
    }
    void cacheExplorerCommandEmptiesTheItems() {
        QFETCH(Edition, edition);
        Start(edition);
        const std::string index = env_->Path("cache/FAT.DB");
        testing::WriteTestFile(index, "x");
        TheProgramValues().CacheIndexPath = index;
        form_->CacheItems().push_back(std::make_unique<TCacheItem>());
        form_->ArkivoButtonClick();
        QVERIFY(env_->Dialogs().Shown().empty());
        QVERIFY(form_->CacheItems().empty());
        QVERIFY(form_->CacheReloadPending());
    }

    void missingHelpFileIsReported() {
        Start(Edition::Nav);
        form_->findChild<QAction*>(QStringLiteral("Contents1"))->trigger();
        QCOMPARE(env_->Dialogs().Shown().size(), size_t(1));
        QCOMPARE(env_->Dialogs().Shown()[0].Text, std::string("Help file not found"));
        QCOMPARE(env_->Dialogs().Shown()[0].Icon, DialogIcon::Error);
    }

    void helpOpensAtTheTopicOfTheWindow() {
        Start(Edition::Nav);
        SetHelpFile(ARKIVO_HELP_SOURCE);
        form_->Contents1Click();
        QVERIFY(env_->Dialogs().Shown().empty());
        QVERIFY(OpenHelpViewer() != nullptr);
        QCOMPARE(OpenHelpViewer()->Browser()->source().fragment(), QStringLiteral("topic-1"));
        QVERIFY(OpenHelpViewer()->Browser()->toPlainText().contains("Arkivo Properties"));

        // F1 in the Properties dialog asks for topic 12.
        prefs_->show();
        prefs_->findChild<QAction*>(QStringLiteral("ContextHelp"))->trigger();
        QCOMPARE(OpenHelpViewer()->Browser()->source().fragment(), QStringLiteral("topic-12"));
        prefs_->hide();
    }

    // A help viewer opened from the main window is not blocked by a modal window
    // opened afterwards; the main window is.
    void helpOpenedBeforeAModalWindowStaysUsable() {
        Start(Edition::Nav);
        SetHelpFile(ARKIVO_HELP_SOURCE);
        form_->show();
        form_->Contents1Click();
        THelpViewer* viewer = OpenHelpViewer();
        QVERIFY(viewer != nullptr);
        BlockWatcher viewerBlocks, formBlocks;
        viewer->installEventFilter(&viewerBlocks);
        form_->installEventFilter(&formBlocks);
        SetModalWindows(nullptr);
        QTimer::singleShot(0, prefs_.get(), [this] { prefs_->reject(); });
        TheModalWindows().ShowModal(*prefs_);
        SetModalWindows(&env_->Windows());
        QVERIFY(formBlocks.Blocked);
        QVERIFY(!viewerBlocks.Blocked);
        viewer->close();
    }

    void helpFileHasATopicForEveryNumber() {
        QFile file(QStringLiteral(ARKIVO_HELP_SOURCE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray page = file.readAll();
        for (const int topic : {1, 5, 11, 12, 15, 16, 17, 21, 22, 23, 24, 36, 39, 40, 41, 42, 43}) {
            QVERIFY2(page.contains(QStringLiteral("id=\"topic-%1\"").arg(topic).toLatin1()),
                     qPrintable(QString::number(topic)));
        }
    }

    void aboutBoxShowsTheVersion() {
        Start(Edition::IE);
        QString caption, version;
        env_->Windows().Queue([&](QDialog& window) {
            caption = window.windowTitle();
            version = Find<QLabel>(window, "VersionLabel")->text();
            QCOMPARE(window.size(), QSize(305, 402));
            Find<QAbstractButton>(window, "Button1")->click();
        });
        QTest::mouseClick(Find<QLabel>(*form_, "Image2"), Qt::LeftButton);
        QCOMPARE(env_->Windows().Shown(), std::vector<QString>({QStringLiteral("AboutBox")}));
        QCOMPARE(caption, QStringLiteral("About Arkivo"));
        QCOMPARE(version, QStringLiteral("Version 6.0 (Build 603)"));
    }

    void anotherStartBringsTheWindowBack() {
        Start(Edition::Nav);
        form_->showMinimized();
        form_->ActivateFromAnotherInstance();
        QVERIFY(form_->isVisible());
        QVERIFY(!(form_->windowState() & Qt::WindowMinimized));
    }
};

}  // namespace arkivo

QTEST_MAIN(arkivo::ControlWindowTest)
#include "control_window_test.moc"
