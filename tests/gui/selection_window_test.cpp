// TSelectionForm, the Cache Explorer, on copies of the sample caches: the state after
// reading, moves and the selection they leave, the counts, the filters, Archive with
// nothing chosen, deletion and its questions, and reading again on reopening.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <set>

#include "explorer/cache_deletion.h"
#include "explorer/explorer_texts.h"
#include "explorer_test_support.h"
#include "gui/common/context_help.h"
#include "gui/common/qt_text.h"
#include "platform/clock.h"
#include "readers/netscape_index.h"
#include "shell/help_file.h"
#include "shell/program_values.h"

namespace arkivo {
namespace {

using testing::Find;

QStringList Entries(TSelectionForm& form, const char* list) {
    QStringList entries;
    auto* box = Find<QListWidget>(form, list);
    for (int i = 0; i < box->count(); ++i) {
        entries.append(box->item(i)->text());
    }
    return entries;
}

QList<int> SelectedRows(TSelectionForm& form, const char* list) {
    QList<int> rows;
    auto* box = Find<QListWidget>(form, list);
    for (int i = 0; i < box->count(); ++i) {
        if (box->item(i)->isSelected()) {
            rows.append(i);
        }
    }
    return rows;
}

void Select(TSelectionForm& form, const char* list, std::initializer_list<int> rows) {
    auto* box = Find<QListWidget>(form, list);
    box->clearSelection();
    for (const int row : rows) {
        box->item(row)->setSelected(true);
    }
}

void Click(TSelectionForm& form, const char* button) {
    Find<QAbstractButton>(form, button)->click();
}

// The counts the panels show, as text, text/media/other.
QString Shown(TSelectionForm& form) {
    return Find<QLabel>(form, "NumTextPanel")->text() + "/" +
           Find<QLabel>(form, "NumMediaPanel")->text() + "/" +
           Find<QLabel>(form, "NumOtherPanel")->text();
}

// The counts of the items that pass keep, worked out from the items themselves.
QString Expected(const TCacheItemList& items, const std::function<bool(const TCacheItem&)>& keep) {
    int counts[3] = {0, 0, 0};
    for (const auto& item : items) {
        if (keep(*item)) {
            ++counts[item->Group];
        }
    }
    return QStringLiteral("%1/%2/%3").arg(counts[0]).arg(counts[1]).arg(counts[2]);
}

bool Enabled(TSelectionForm& form, const char* button) {
    return Find<QWidget>(form, button)->isEnabled();
}

void Choose(TSelectionForm& form, const char* box, const QString& entry) {
    auto* combo = Find<QComboBox>(form, box);
    const int index = combo->findText(entry);
    QVERIFY2(index >= 0, qPrintable(entry));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

}  // namespace

class SelectionWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void everyDomainStandsInArchiveDeleteAfterReading() {
        testing::ExplorerFixture fixture(Edition::Nav);
        fixture.Open([&fixture](TSelectionForm& form) {
            QCOMPARE(form.windowTitle(), QStringLiteral("Arkivo - Cache Explorer"));
            QCOMPARE(fixture.Control().CacheItems().size(), 20u);
            QVERIFY(Entries(form, "SrcList").isEmpty());
            QCOMPARE(Entries(form, "DstList"),
                     QStringList({"files.old-mirror.example", "news.harbor-town.example",
                                  "www.tulip-garden.example"}));
            QVERIFY(!Enabled(form, "IncludeBtn"));
            QVERIFY(!Enabled(form, "IncAllBtn"));
            QVERIFY(Enabled(form, "ExcludeBtn"));
            QVERIFY(Enabled(form, "ExAllBtn"));
            QCOMPARE(Shown(form), Expected(fixture.Control().CacheItems(),
                                           [](const TCacheItem&) { return true; }));
            QVERIFY(!Find<QLabel>(form, "FatPanel")->isVisible());
            QVERIFY(Find<QWidget>(form, "BackPanel")->isEnabled());
            QCOMPARE(Find<QComboBox>(form, "OldNewBox")->currentText(), QStringLiteral("All ages"));
            QVERIFY(!Enabled(form, "AgeBox"));
            QVERIFY(!Enabled(form, "HDWBox"));
            QVERIFY(QApplication::overrideCursor() == nullptr);
        });
        QCOMPARE(fixture.Env().Windows().Shown(),
                 std::vector<QString>{QStringLiteral("SelectionForm")});
    }

    void controlsCarryTheirHintsAndHelpTopics() {
        testing::ExplorerFixture fixture(Edition::IE);
        TSelectionForm& form = fixture.Explorer();
        QCOMPARE(Find<QToolButton>(form, "IncludeBtn")->toolTip(), QStringLiteral("Add selection"));
        QCOMPARE(Find<QToolButton>(form, "ExAllBtn")->toolTip(), QStringLiteral("Remove all"));
        const struct {
            const char* name;
            int topic;
        } topics[] = {{"SrcList", 16},       {"DstList", 43},      {"AgeBox", 17},
                      {"TextBox", 21},       {"OthersBox", 23},    {"NumTextPanel", 24},
                      {"UncacheButton", 40}, {"DeleteButton", 41}, {"PrefsBtn", 42},
                      {"CancelButton", 15},  {"HelpButton", 5}};
        for (const auto& expected : topics) {
            QCOMPARE(HelpContextOf(Find<QWidget>(form, expected.name)), expected.topic);
        }
    }

    void movesLeaveTheSelectionAtTheFirstMovedIndex() {
        testing::ExplorerFixture fixture(Edition::Nav);
        fixture.Open([&fixture](TSelectionForm& form) {
            const TCacheItemList& items = fixture.Control().CacheItems();
            Select(form, "DstList", {1, 2});
            Click(form, "ExcludeBtn");
            QCOMPARE(Entries(form, "DstList"), QStringList({"files.old-mirror.example"}));
            QCOMPARE(Entries(form, "SrcList"),
                     QStringList({"news.harbor-town.example", "www.tulip-garden.example"}));
            // Index 1 lies beyond the one entry left: the last entry is selected.
            QCOMPARE(SelectedRows(form, "DstList"), QList<int>({0}));
            QCOMPARE(Shown(form), Expected(items, [](const TCacheItem& item) {
                         return item.Domain == "files.old-mirror.example";
                     }));
            QVERIFY(Enabled(form, "IncludeBtn") && Enabled(form, "ExcludeBtn"));

            Select(form, "SrcList", {1});
            Click(form, "IncludeBtn");
            QCOMPARE(Entries(form, "DstList"),
                     QStringList({"files.old-mirror.example", "www.tulip-garden.example"}));
            QCOMPARE(SelectedRows(form, "SrcList"), QList<int>({0}));

            Click(form, "ExAllBtn");
            QVERIFY(Entries(form, "DstList").isEmpty());
            QCOMPARE(Entries(form, "SrcList").size(), 3);
            QVERIFY(!Enabled(form, "ExcludeBtn") && !Enabled(form, "ExAllBtn"));
            QCOMPARE(Shown(form), QStringLiteral("0/0/0"));

            auto* src = Find<QListWidget>(form, "SrcList");
            const QPoint second = src->visualItemRect(src->item(1)).center();
            QTest::mouseClick(src->viewport(), Qt::LeftButton, {}, second);
            QTest::mouseDClick(src->viewport(), Qt::LeftButton, {}, second);
            QCOMPARE(Entries(form, "DstList"), QStringList({"news.harbor-town.example"}));
            QCOMPARE(SelectedRows(form, "SrcList"), QList<int>({1}));

            Click(form, "IncAllBtn");
            QVERIFY(Entries(form, "SrcList").isEmpty());
            QVERIFY(!Enabled(form, "IncludeBtn") && !Enabled(form, "IncAllBtn"));
            QCOMPARE(Shown(form), Expected(items, [](const TCacheItem&) { return true; }));
        });
    }

    void uncheckingASwitchGreysItsCountAndKeepsTheNumbers() {
        testing::ExplorerFixture fixture(Edition::Nav);
        fixture.Open([](TSelectionForm& form) {
            const QString before = Shown(form);
            Click(form, "MediaBox");
            QVERIFY(!Find<QCheckBox>(form, "MediaBox")->isChecked());
            QCOMPARE(Shown(form), before);
            QCOMPARE(Find<QLabel>(form, "NumMediaPanel")->palette().color(QPalette::WindowText),
                     QColor(128, 128, 128));
            QVERIFY(Find<QLabel>(form, "NumTextPanel")->palette().color(QPalette::WindowText) !=
                    QColor(128, 128, 128));
            Click(form, "MediaBox");
            QVERIFY(Find<QLabel>(form, "NumMediaPanel")->palette().color(QPalette::WindowText) !=
                    QColor(128, 128, 128));
        });
    }

    void ageFilterRegroupsAndPutsEveryDomainBack() {
        testing::ExplorerFixture fixture(Edition::Nav);
        fixture.Open([&fixture](TSelectionForm& form) {
            Select(form, "DstList", {0});
            Click(form, "ExcludeBtn");
            Choose(form, "OldNewBox", QStringLiteral("Newer than"));
            QVERIFY(Enabled(form, "AgeBox") && Enabled(form, "HDWBox"));
            Choose(form, "HDWBox", QStringLiteral("Week(s)"));
            QCOMPARE(Find<QComboBox>(form, "AgeBox")->count(), 6);
            Choose(form, "AgeBox", QStringLiteral("2"));
            const double lower = Now() - 14;
            QVERIFY(Entries(form, "SrcList").isEmpty());
            QCOMPARE(Shown(form),
                     Expected(fixture.Control().CacheItems(),
                              [lower](const TCacheItem& item) { return item.Date > lower; }));
            Choose(form, "HDWBox", QStringLiteral("Hour(s)"));
            QCOMPARE(Find<QComboBox>(form, "AgeBox")->currentText(), QStringLiteral("6"));
        });
    }

    void ieOffersItsOwnHourAmounts() {
        testing::ExplorerFixture fixture(Edition::IE);
        fixture.Open([](TSelectionForm& form) {
            QCOMPARE(Entries(form, "DstList").size(), 3);
            auto* ageBox = Find<QComboBox>(form, "AgeBox");
            QStringList amounts;
            for (int i = 0; i < ageBox->count(); ++i) {
                amounts.append(ageBox->itemText(i));
            }
            QCOMPARE(amounts, QStringList({"1", "2", "3", "6", "12", "18"}));
        });
    }

    // Without ARKIVO_IE_CACHE the cache folder stored by the Properties is read.
    void ieReadsTheCacheChosenInTheProperties() {
        testing::ExplorerFixture fixture(Edition::IE);
        qunsetenv("ARKIVO_IE_CACHE");
        QVERIFY(fixture.Control()
                    .Settings()
                    .WriteString("Browser options", "IE cache folder", fixture.CacheDir())
                    .ok());
        // Loading the settings sets the chosen cache, as at start-up.
        TPrefsForm prefs(Edition::IE, fixture.Control().Settings());
        fixture.Open([](TSelectionForm& form) { QCOMPARE(Entries(form, "DstList").size(), 3); });
        QVERIFY(fixture.Env().Dialogs().Shown().empty());
    }

    // With no cache anywhere the reason is given and the setting offered; the cache
    // chosen there is read at once.
    void ieWithoutACacheSaysWhyAndOffersTheSetting() {
        testing::ExplorerFixture fixture(Edition::IE);
        qunsetenv("ARKIVO_IE_CACHE");
        TheProgramValues().CacheIndexPath.clear();
        fixture.Control().SetCacheReloadPending(true);
        fixture.Env().Dialogs().QueueAnswer(DialogResult::Yes);
        fixture.Env().Windows().Queue([](QDialog& window) {
            static_cast<TSelectionForm&>(window).FormPaint();
            QVERIFY(window.isVisible());
            QCOMPARE(Entries(static_cast<TSelectionForm&>(window), "DstList").size(), 3);
        });
        QString tabShown;
        fixture.Env().Windows().Queue([&fixture, &tabShown](QDialog& window) {
            tabShown = Find<QTabWidget>(window, "ExportPageControl")->currentWidget()->objectName();
            Find<QLineEdit>(window, "IECacheEdit")
                ->setText(QString::fromStdString(fixture.CacheDir()));
            Find<QPushButton>(window, "OKBtn")->click();
        });
        TheModalWindows().ShowModal(fixture.Explorer());
        QCOMPARE(tabShown, QStringLiteral("BrowserTab"));
        const auto& shown = fixture.Env().Dialogs().Shown();
        QCOMPARE(shown.size(), 1u);
        QVERIFY2(shown[0].Text.rfind("No Internet Explorer cache found: no cache folder is chosen",
                                     0) == 0,
                 shown[0].Text.c_str());
        QVERIFY(shown[0].Text.find("\r\n\r\n" + ChooseCacheQuestion(Edition::IE)) !=
                std::string::npos);
        QCOMPARE(shown[0].Buttons, DialogButtons::YesNo);
        QCOMPARE(fixture.Control().Settings().ReadString("Browser options", "IE cache folder", ""),
                 fixture.CacheDir());
    }

    void navFileThatIsNoIndexSaysSoAndCloses() {
        testing::ExplorerFixture fixture(Edition::Nav);
        const std::string notes = fixture.CacheDir() + "/notes.txt";
        testing::WriteTestFile(notes, "<html>");
        TheProgramValues().CacheIndexPath = notes;
        fixture.Control().SetCacheReloadPending(true);
        fixture.Env().Dialogs().QueueAnswer(DialogResult::No);
        fixture.Env().Windows().Queue([](QDialog& window) {
            static_cast<TSelectionForm&>(window).FormPaint();
            QVERIFY(!window.isVisible());
        });
        QCOMPARE(TheModalWindows().ShowModal(fixture.Explorer()), int(QDialog::Rejected));
        const auto& shown = fixture.Env().Dialogs().Shown();
        QCOMPARE(shown.size(), 1u);
        QCOMPARE(shown[0].Text, notes + " is not a Netscape cache index (FAT or FAT.DB).\r\n\r\n" +
                                    ChooseCacheQuestion(Edition::Nav));
        QCOMPARE(fixture.Env().Windows().Shown(), std::vector<QString>{"SelectionForm"});
    }

    // The notice is not part of the panel disabled behind it.
    void waitNoticeStaysReadableWhileThePanelIsDisabled() {
        testing::ExplorerFixture fixture(Edition::Nav);
        fixture.Control().SetCacheReloadPending(true);
        bool readable = false;
        fixture.Env().Windows().Queue([&readable](QDialog& window) {
            auto* notice = Find<QLabel>(window, "FatPanel");
            auto* panel = Find<QWidget>(window, "BackPanel");
            QTimer::singleShot(0, &window, [&readable, notice, panel] {
                readable = notice->isVisible() && notice->isEnabled() && !panel->isEnabled();
            });
            static_cast<TSelectionForm&>(window).FormPaint();
        });
        TheModalWindows().ShowModal(fixture.Explorer());
        QVERIFY(readable);
    }

    void navIndexThatCannotBeOpenedClosesTheWindow() {
        testing::ExplorerFixture fixture(Edition::Nav);
        // The main window lets only an existing index through; one that vanished
        // since is the case left.
        TheProgramValues().CacheIndexPath = fixture.CacheDir() + "/gone/FAT.DB";
        fixture.Control().SetCacheReloadPending(true);
        fixture.Env().Windows().Queue([](QDialog& window) {
            static_cast<TSelectionForm&>(window).FormPaint();
            QVERIFY(!window.isVisible());
        });
        QCOMPARE(TheModalWindows().ShowModal(fixture.Explorer()), int(QDialog::Rejected));
        const auto& shown = fixture.Env().Dialogs().Shown();
        QCOMPARE(shown.size(), 1u);
        QCOMPARE(shown[0].Text, std::string(CloseNetscapeWarning));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void archiveWithEverySwitchOffHasNothingToDo() {
        testing::ExplorerFixture fixture(Edition::Nav);
        fixture.Open([&fixture](TSelectionForm& form) {
            for (const char* box : {"TextBox", "MediaBox", "OthersBox"}) {
                Click(form, box);
            }
            Click(form, "UncacheButton");
            const auto& shown = fixture.Env().Dialogs().Shown();
            QCOMPARE(shown.size(), 1u);
            QCOMPARE(shown[0].Text, std::string("No files to archive."));
            QCOMPARE(shown[0].Buttons, DialogButtons::OkHelp);
            QCOMPARE(shown[0].HelpContext, 11);
            QVERIFY(Find<QWidget>(form, "BackPanel")->isEnabled());
        });
        QCOMPARE(fixture.Env().Windows().Shown().size(), 1u);
    }

    void deleteAsksTheWholeCacheQuestionOnlyForTheWholeCache() {
        testing::ExplorerFixture fixture(Edition::Nav);
        fixture.Open([&fixture](TSelectionForm& form) {
            auto& dialogs = fixture.Env().Dialogs();
            dialogs.QueueAnswer(DialogResult::No);
            Click(form, "DeleteButton");
            dialogs.QueueAnswer(DialogResult::Cancel);
            Select(form, "DstList", {2});
            Click(form, "ExcludeBtn");
            Click(form, "DeleteButton");
            QCOMPARE(dialogs.Shown().size(), 2u);
            QCOMPARE(dialogs.Shown()[0].Text, std::string(DeleteWholeCacheQuestionText));
            QCOMPARE(dialogs.Shown()[0].Buttons, DialogButtons::YesNoCancel);
            QCOMPARE(dialogs.Shown()[1].Text, std::string(DeleteQuestionText));
            QCOMPARE(fixture.Control().CacheItems().size(), 20u);
        });
    }

    void deleteRemovesOnlyChosenItemsAndRecounts() {
        testing::ExplorerFixture fixture(Edition::Nav);
        fixture.Open([&fixture](TSelectionForm& form) {
            TCacheItemList& items = fixture.Control().CacheItems();
            Choose(form, "OldNewBox", QStringLiteral("Newer than"));
            Choose(form, "HDWBox", QStringLiteral("Week(s)"));
            Choose(form, "AgeBox", QStringLiteral("4"));
            const double lower = Now() - 28;
            Select(form, "DstList", {0});
            Click(form, "ExcludeBtn");
            Click(form, "MediaBox");
            const auto chosen = [lower](const TCacheItem& item) {
                return item.Date > lower && item.Domain != "files.old-mirror.example" &&
                       item.Group != 1;
            };
            std::set<std::string> gone, kept;
            for (const auto& item : items) {
                (chosen(*item) ? gone : kept).insert(item->CacheFile);
            }
            QVERIFY(!gone.empty());
            fixture.Env().Dialogs().QueueAnswer(DialogResult::Yes);
            Click(form, "DeleteButton");

            QCOMPARE(items.size(), kept.size());
            for (const auto& file : gone) {
                QVERIFY2(!std::filesystem::exists(file), file.c_str());
            }
            for (const auto& file : kept) {
                QVERIFY2(std::filesystem::exists(file), file.c_str());
            }
            QVERIFY(Entries(form, "SrcList").isEmpty());
            QCOMPARE(Shown(form), Expected(items, [lower](const TCacheItem& item) {
                         return item.Date > lower;
                     }));
            QCOMPARE(Find<QComboBox>(form, "OldNewBox")->currentText(),
                     QStringLiteral("Newer than"));
            QVERIFY(!Find<QCheckBox>(form, "MediaBox")->isChecked());
            QCOMPARE(Find<QLabel>(form, "FatPanel")->text(),
                     QStringLiteral("Processing cache index. Please wait."));
            QVERIFY(!Find<QLabel>(form, "FatPanel")->isVisible());
            QCOMPARE(fixture.Env().Dialogs().Shown().size(), 1u);
        });
    }

    void itemsThatCannotBeDeletedAreReportedAndStayListed() {
        testing::ExplorerFixture fixture(Edition::Nav);
        fixture.Open([&fixture](TSelectionForm& form) {
            TCacheItemList& items = fixture.Control().CacheItems();
            // A directory in place of a cached file cannot be removed as a file.
            const std::string stuck = items.front()->CacheFile;
            std::filesystem::remove(stuck);
            std::filesystem::create_directories(stuck + "/inside");
            fixture.Env().Dialogs().QueueAnswer(DialogResult::Yes);
            Click(form, "DeleteButton");
            QCOMPARE(items.size(), 1u);
            QCOMPARE(items.front()->CacheFile, stuck);
            const auto& shown = fixture.Env().Dialogs().Shown();
            QCOMPARE(shown.size(), 2u);
            QCOMPARE(shown[1].Text,
                     "19 items deleted, 0 marked for deletion (files still on disk), 1 not "
                     "deleted\r\n\r\nThe first: " +
                         stuck + ": Is a directory");
            QCOMPARE(shown[1].Icon, DialogIcon::Warning);
            QCOMPARE(Entries(form, "DstList"), QStringList({FromCoreText(items.front()->Domain)}));
        });
    }

    void deleteWithNothingCountedSaysSo() {
        testing::ExplorerFixture fixture(Edition::Nav);
        fixture.Open([&fixture](TSelectionForm& form) {
            Click(form, "ExAllBtn");
            Click(form, "DeleteButton");
            const auto& shown = fixture.Env().Dialogs().Shown();
            QCOMPARE(shown.size(), 1u);
            QCOMPARE(shown[0].Text, std::string(NoFilesToDeleteText));
            QCOMPARE(shown[0].HelpContext, 11);
            QCOMPARE(fixture.Control().CacheItems().size(), 20u);
        });
    }

    void reopeningReadsTheCacheAgainAndResetsTheFilters() {
        testing::ExplorerFixture fixture(Edition::Nav);
        std::string removed;
        fixture.Open([&removed, &fixture](TSelectionForm& form) {
            Choose(form, "OldNewBox", QStringLiteral("Older than"));
            Click(form, "TextBox");
            Select(form, "DstList", {0});
            Click(form, "ExcludeBtn");
            removed = fixture.Control().CacheItems().back()->CacheFile;
            Click(form, "CancelButton");
            QVERIFY(!form.isVisible());
        });
        std::filesystem::remove(removed);
        fixture.Open([&fixture](TSelectionForm& form) {
            QCOMPARE(fixture.Control().CacheItems().size(), 19u);
            QCOMPARE(Find<QComboBox>(form, "OldNewBox")->currentText(), QStringLiteral("All ages"));
            QVERIFY(Find<QCheckBox>(form, "TextBox")->isChecked());
            QVERIFY(Entries(form, "SrcList").isEmpty());
            QCOMPARE(Shown(form), Expected(fixture.Control().CacheItems(),
                                           [](const TCacheItem&) { return true; }));
        });
    }

    void theQueuedPaintReadsTheCacheOnce() {
        testing::ExplorerFixture fixture(Edition::Nav);
        fixture.Env().Windows().Queue([&fixture](QDialog& window) {
            QTRY_COMPARE(Entries(fixture.Explorer(), "DstList").size(), 3);
            QVERIFY(!fixture.Control().CacheReloadPending());
            QCOMPARE(&window, static_cast<QDialog*>(&fixture.Explorer()));
        });
        fixture.Control().ArkivoButtonClick();
        QCOMPARE(fixture.Control().CacheItems().size(), 20u);
    }
};

}  // namespace arkivo

QTEST_MAIN(arkivo::SelectionWindowTest)
#include "selection_window_test.moc"
