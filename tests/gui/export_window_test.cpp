// TExportForm, the "Archiving" progress window: its controls, the timer that starts
// the run, the completion question, Cancel while the archiving stage runs, and
// Escape; driven from the Cache Explorer on a copy of the Netscape sample.

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "archive/archive_info.h"
#include "archive/used_names.h"
#include "explorer_test_support.h"
#include "gui/archiver/export_window.h"
#include "gui/common/context_help.h"
#include "gui/common/qt_dialogs.h"
#include "shell/program_values.h"

namespace arkivo {
namespace {

using testing::Find;

std::size_t ArchivedEntries(const std::string& dir) {
    TArchiveList list;
    UsedNames names;
    if (!list.ReadArchiveInfo(dir, names).ok()) {
        return 0;
    }
    return list.Entries().size();
}

bool IsCompletionQuestion(const DialogMessage& message) {
    return message.Text.rfind("Archiving completed.\r\n", 0) == 0;
}

}  // namespace

class ExportWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void showsStageBarPercentageAndCancel() {
        testing::GuiEnvironment env;
        TExportForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Archiving"));
        QCOMPARE(Find<QLabel>(form, "Label1")->text(), QStringLiteral("Progress"));
        QCOMPARE(Find<QLabel>(form, "PercentLabel")->text(), QStringLiteral("0%"));
        QCOMPARE(Find<QPushButton>(form, "CancelButton")->text(), QStringLiteral("Cancel"));
        QCOMPARE(HelpContextOf(&form), 36);
        form.SetStage(ArchivingStageText);
        form.SetProgress(42);
        QCOMPARE(Find<QLabel>(form, "Label1")->text(), QStringLiteral("Archiving files..."));
        QCOMPARE(Find<QProgressBar>(form, "ProgressBar1")->value(), 42);
        QCOMPARE(Find<QLabel>(form, "PercentLabel")->text(), QStringLiteral("42%"));
    }

    void escapeClosesTheWindowWhenNoRunIsBusy() {
        testing::GuiEnvironment env;
        TExportForm form;
        form.show();
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Rejected));
    }

    void theTimerRunsTheArchiveAndTheAnswerDecidesTheIndex() {
        testing::ExplorerFixture fixture(Edition::Nav);
        std::filesystem::create_directories(TheProgramValues().ArchiveDir);
        fixture.Env().FakeXdgOpen("echo \"$1\" >> " + fixture.Env().Path("opened"));
        fixture.Open([&fixture](TSelectionForm& form) {
            fixture.Env().Windows().Queue([](QDialog& window) {
                QTRY_VERIFY(!window.isVisible());
                QCOMPARE(Find<QProgressBar>(window, "ProgressBar1")->value(), 100);
            });
            fixture.Env().Dialogs().QueueAnswer(DialogResult::No);
            QTest::mouseClick(Find<QPushButton>(form, "UncacheButton"), Qt::LeftButton);
            QVERIFY(Find<QWidget>(form, "BackPanel")->isEnabled());
        });
        const auto& shown = fixture.Env().Dialogs().Shown();
        QCOMPARE(shown.size(), 1u);
        QVERIFY(IsCompletionQuestion(shown[0]));
        QCOMPARE(fixture.Env().Windows().Shown(),
                 (std::vector<QString>{"SelectionForm", "ExportForm"}));
        const std::string dir = TheProgramValues().ArchiveDir;
        QVERIFY(std::filesystem::exists(dir + "1st_page.htm"));
        QVERIFY(ArchivedEntries(dir) > 0);
        QTest::qWait(200);
        QVERIFY(!std::filesystem::exists(fixture.Env().Path("opened")));
    }

    void cancelDuringArchivingKeepsWhatWasArchived() {
        testing::ExplorerFixture fixture(Edition::Nav);
        std::filesystem::create_directories(TheProgramValues().ArchiveDir);
        fixture.Open([&fixture](TSelectionForm& form) {
            fixture.Env().Windows().Queue([](QDialog& window) {
                auto* stage = Find<QLabel>(window, "Label1");
                auto* bar = Find<QProgressBar>(window, "ProgressBar1");
                auto* cancel = Find<QPushButton>(window, "CancelButton");
                QObject::connect(bar, &QProgressBar::valueChanged, [stage, cancel](int value) {
                    if (value > 0 && stage->text() == QLatin1String(ArchivingStageText)) {
                        cancel->click();
                    }
                });
                QTRY_VERIFY(!window.isVisible());
                QCOMPARE(window.result(), int(QDialog::Rejected));
            });
            QTest::mouseClick(Find<QPushButton>(form, "UncacheButton"), Qt::LeftButton);
        });
        // No completion question after a cancelled run; the items archived before
        // Cancel are recorded, and no index was built.
        QVERIFY(fixture.Env().Dialogs().Shown().empty());
        const std::string dir = TheProgramValues().ArchiveDir;
        const std::size_t archived = ArchivedEntries(dir);
        QVERIFY(archived > 0);
        QVERIFY(archived < 20);
        QVERIFY(!std::filesystem::exists(dir + "1st_page.htm"));
    }

    // With the real message boxes and event loops: once "Could not create directory"
    // is answered, the keyboard is in the progress window, so Escape closes it.
    void escapeClosesTheWindowLeftByCouldNotCreateDirectory() {
        testing::GuiEnvironment env;
        testing::WriteTestFile(env.Path("file"), "x");
        QtDialogs boxes;
        ScopedDialogs realBoxes(boxes);
        SetModalWindows(nullptr);
        QDialog explorer;
        explorer.show();
        TExportForm form(&explorer);
        ArchiveRun run(ArchiveRunOptions{Edition::Nav, env.Path("file/archive/"), {}, true},
                       form.Hooks());
        int answered = 0;
        bool keyboardInForm = false;
        QTimer answerer;
        QObject::connect(&answerer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                ++answered;
                (box->button(QMessageBox::Yes) != nullptr ? box->button(QMessageBox::Yes)
                                                          : box->button(QMessageBox::Ok))
                    ->click();
            } else if (modal == &form && answered == 2) {
                QWidget* focused = QApplication::focusWidget();
                keyboardInForm = focused != nullptr && focused->window() == &form;
                if (keyboardInForm) {
                    QTest::keyClick(focused, Qt::Key_Escape);
                } else {
                    form.CancelButtonClick();
                }
            }
        });
        answerer.start(10);
        form.Execute(run);
        SetModalWindows(&env.Windows());
        QCOMPARE(answered, 2);
        QVERIFY(keyboardInForm);
    }

    void aMissingDirectoryRefusedLeavesNothingBehind() {
        testing::ExplorerFixture fixture(Edition::Nav);
        fixture.Open([&fixture](TSelectionForm& form) {
            fixture.Env().Windows().Queue(
                [](QDialog& window) { QTRY_VERIFY(!window.isVisible()); });
            fixture.Env().Dialogs().QueueAnswer(DialogResult::No);
            QTest::mouseClick(Find<QPushButton>(form, "UncacheButton"), Qt::LeftButton);
        });
        const auto& shown = fixture.Env().Dialogs().Shown();
        QCOMPARE(shown.size(), 1u);
        QVERIFY(shown[0].Text.rfind("Archive directory\r\n\r\n", 0) == 0);
        QVERIFY(!std::filesystem::exists(TheProgramValues().ArchiveDir));
    }
};

}  // namespace arkivo

QTEST_MAIN(arkivo::ExportWindowTest)
#include "export_window_test.moc"
