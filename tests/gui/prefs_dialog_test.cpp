// TPrefsForm: loading the stored settings into the controls and the program-wide
// values, the enabling rules, the emphasis preview, the web archive option, Apply,
// Cancel in both editions, and Browse.

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <memory>

#include "gui/shell/browse_directory_dialog.h"
#include "gui/shell/prefs_dialog.h"
#include "gui_test_support.h"
#include "shell/program_values.h"

namespace arkivo {
namespace {

using testing::Find;

constexpr const char* Export = "Export to disk properties";

QColor PreviewColour(QWidget& form) {
    return Find<QLabel>(form, "Panel2")->palette().color(QPalette::WindowText);
}

}  // namespace

class PrefsDialogTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testing::GuiEnvironment> env_;
    std::unique_ptr<SettingsStore> store_;

    std::unique_ptr<TPrefsForm> Create(Edition edition) {
        return std::make_unique<TPrefsForm>(edition, *store_);
    }

  private slots:
    void init() {
        env_ = std::make_unique<testing::GuiEnvironment>();
        store_ = std::make_unique<SettingsStore>();
    }
    void cleanup() {
        store_.reset();
        env_.reset();
    }

    void firstRunShowsTheDefaults_data() {
        QTest::addColumn<Edition>("edition");
        QTest::newRow("ArkivoNav") << Edition::Nav;
        QTest::newRow("ArkivoIE") << Edition::IE;
    }
    void firstRunShowsTheDefaults() {
        QFETCH(Edition, edition);
        auto form = Create(edition);
        const QString archive = QString::fromStdString(env_->ProgramDirectory() + "ARCHIVE/");
        QVERIFY(Find<QRadioButton>(*form, "UseDefaultRB")->isChecked());
        QCOMPARE(Find<QLineEdit>(*form, "DefaultDirectoryEB")->text(), archive);
        QVERIFY(Find<QLineEdit>(*form, "DefaultDirectoryEB")->isEnabled());
        QVERIFY(!Find<QLineEdit>(*form, "ExportDirNameEB")->isEnabled());
        QVERIFY(!Find<QPushButton>(*form, "BrowseButton")->isEnabled());
        QVERIFY(Find<QCheckBox>(*form, "CheckBox1")->isChecked());
        QVERIFY(Find<QCheckBox>(*form, "CheckBox3")->isChecked());
        QVERIFY(!Find<QCheckBox>(*form, "CheckBox2")->isChecked());
        for (const char* name : {"BoldRB", "ItalicizedRB", "LargerTextRB", "CustomRB"}) {
            QVERIFY2(!Find<QRadioButton>(*form, name)->isEnabled(), name);
        }
        QVERIFY(Find<QRadioButton>(*form, "BoldRB")->isChecked());
        QCOMPARE(Find<QLineEdit>(*form, "EmphasizedEB")->text(),
                 QStringLiteral("FONT FACE=\"Arial\""));
        QCOMPARE(Find<QLineEdit>(*form, "DeEmphasizedEB")->text(), QStringLiteral("/FONT"));
        QVERIFY(!Find<QLineEdit>(*form, "EmphasizedEB")->isEnabled());
        QVERIFY(!Find<QLineEdit>(*form, "DeEmphasizedEB")->isEnabled());
        QVERIFY(!Find<QPushButton>(*form, "ApplyBtn")->isEnabled());
        QCOMPARE(Find<QTabWidget>(*form, "ExportPageControl")->count(), 2);
        QCOMPARE(Find<QTabWidget>(*form, "ExportPageControl")->tabText(0),
                 QStringLiteral("General"));
        QCOMPARE(Find<QTabWidget>(*form, "ExportPageControl")->tabText(1),
                 QStringLiteral("Browser"));
        // Each edition's Browser tab holds its own cache setting.
        QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("FATEdit")) != nullptr,
                 edition == Edition::Nav);
        QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("IECacheEdit")) != nullptr,
                 edition == Edition::IE);
        QCOMPARE(QString::fromStdString(TheProgramValues().ArchiveDir), archive);
        QCOMPARE(TheProgramValues().ActiveEmphasizeTag, std::string("B"));
        QCOMPARE(TheProgramValues().ActiveDeEmphasizeTag, std::string("/B"));
        QVERIFY(form->ShowOriginalUrls() && form->StrikeoutLinks() && !form->EmphasizeLinks());
    }

    void customEmphasisEnablesTheTagsAndABlackPreview() {
        auto form = Create(Edition::Nav);
        Find<QCheckBox>(*form, "CheckBox2")->click();
        QVERIFY(Find<QRadioButton>(*form, "CustomRB")->isEnabled());
        QCOMPARE(TheProgramValues().ActiveEmphasizeTag, std::string("B"));
        Find<QRadioButton>(*form, "CustomRB")->click();
        QVERIFY(Find<QLineEdit>(*form, "EmphasizedEB")->isEnabled());
        QVERIFY(Find<QLineEdit>(*form, "DeEmphasizedEB")->isEnabled());
        QCOMPARE(Find<QLabel>(*form, "Panel2")->text(),
                 QStringLiteral("<FONT FACE=\"Arial\">Link Here</FONT>"));
        QCOMPARE(PreviewColour(*form), QColor(Qt::black));
        QCOMPARE(TheProgramValues().ActiveEmphasizeTag, std::string("FONT FACE=\"Arial\""));

        Find<QLineEdit>(*form, "EmphasizedEB")->setText(QStringLiteral("FONT COLOR=green"));
        QCOMPARE(Find<QLabel>(*form, "Panel2")->text(),
                 QStringLiteral("<FONT COLOR=green>Link Here</FONT>"));
        QCOMPARE(TheProgramValues().ActiveEmphasizeTag, std::string("FONT COLOR=green"));
    }

    void largerTextSetsItsTagsAndGreysThePreview() {
        auto form = Create(Edition::IE);
        Find<QCheckBox>(*form, "CheckBox2")->click();
        Find<QRadioButton>(*form, "CustomRB")->click();
        Find<QRadioButton>(*form, "LargerTextRB")->click();
        QCOMPARE(TheProgramValues().ActiveEmphasizeTag, std::string("FONT SIZE=+1"));
        QCOMPARE(TheProgramValues().ActiveDeEmphasizeTag, std::string("/FONT"));
        QVERIFY(!Find<QLineEdit>(*form, "EmphasizedEB")->isEnabled());
        QVERIFY(PreviewColour(*form) != QColor(Qt::black));
        // The preview keeps its last text.
        QCOMPARE(Find<QLabel>(*form, "Panel2")->text(),
                 QStringLiteral("<FONT FACE=\"Arial\">Link Here</FONT>"));
    }

    void turningEmphasisOffGreysTheCustomTags() {
        QVERIFY(store_->WriteBool(Export, "Emphasize links", true).ok());
        QVERIFY(store_->WriteInteger(Export, "Emphasize Type", 3).ok());
        auto form = Create(Edition::Nav);
        QVERIFY(Find<QLineEdit>(*form, "EmphasizedEB")->isEnabled());
        QCOMPARE(PreviewColour(*form), QColor(Qt::black));
        Find<QCheckBox>(*form, "CheckBox2")->click();
        QVERIFY(!Find<QRadioButton>(*form, "CustomRB")->isEnabled());
        QVERIFY(!Find<QLineEdit>(*form, "EmphasizedEB")->isEnabled());
        QVERIFY(PreviewColour(*form) != QColor(Qt::black));
    }

    void applyIsEnabledByEditsAndDisabledByApplying() {
        auto form = Create(Edition::Nav);
        auto* apply = Find<QPushButton>(*form, "ApplyBtn");
        Find<QCheckBox>(*form, "CheckBox1")->click();
        QVERIFY(apply->isEnabled());
        apply->click();
        QVERIFY(!apply->isEnabled());
        QCOMPARE(store_->ReadString(Export, "Show original URLS", ""), std::string("0"));
        // Tag edits store on OK but do not enable Apply.
        Find<QCheckBox>(*form, "CheckBox2")->setChecked(true);
        Find<QRadioButton>(*form, "CustomRB")->click();
        apply->click();
        Find<QLineEdit>(*form, "EmphasizedEB")->setText(QStringLiteral("EM"));
        QVERIFY(!apply->isEnabled());
        for (const char* name : {"CheckBox3", "ChooseDirectoryRB", "ItalicizedRB"}) {
            apply->click();
            Find<QAbstractButton>(*form, name)->click();
            QVERIFY2(apply->isEnabled(), name);
        }
        apply->click();
        Find<QLineEdit>(*form, "FATEdit")->setText(QStringLiteral("/x/FAT.DB"));
        QVERIFY(apply->isEnabled());
    }

    void webArchiveBoxIsLoadedAndStored() {
        auto form = Create(Edition::IE);
        auto* box = Find<QCheckBox>(*form, "WebArchiveCheckBox");
        QCOMPARE(box->text(), QStringLiteral("Also write a web archive (WARC)"));
        QCOMPARE(box->parentWidget()->objectName(), QStringLiteral("ExportTab"));
        QVERIFY(!box->isChecked() && !form->WriteWebArchive());
        box->click();
        QVERIFY(Find<QPushButton>(*form, "ApplyBtn")->isEnabled());
        Find<QPushButton>(*form, "OKBtn")->click();
        QCOMPARE(store_->ReadString(Export, "Write web archive", ""), std::string("1"));
        QVERIFY(Create(Edition::Nav)->WriteWebArchive());
    }

    void directoryTypingEnablesApplyOnlyInArkivoNav() {
        auto nav = Create(Edition::Nav);
        Find<QLineEdit>(*nav, "DefaultDirectoryEB")->setText(QStringLiteral("/srv/nav"));
        QVERIFY(Find<QPushButton>(*nav, "ApplyBtn")->isEnabled());
        nav.reset();
        auto ie = Create(Edition::IE);
        Find<QLineEdit>(*ie, "DefaultDirectoryEB")->setText(QStringLiteral("/srv/ie"));
        QVERIFY(!Find<QPushButton>(*ie, "ApplyBtn")->isEnabled());
    }

    void okStoresEveryValueAsText() {
        auto form = Create(Edition::Nav);
        Find<QRadioButton>(*form, "ChooseDirectoryRB")->click();
        Find<QLineEdit>(*form, "ExportDirNameEB")->setText(QStringLiteral("/srv/chosen/"));
        Find<QCheckBox>(*form, "CheckBox2")->click();
        Find<QRadioButton>(*form, "ItalicizedRB")->click();
        Find<QLineEdit>(*form, "FATEdit")->setText(QStringLiteral("/x/FAT.DB"));
        env_->Windows().Queue([](QDialog& window) { Find<QPushButton>(window, "OKBtn")->click(); });
        QCOMPARE(TheModalWindows().ShowModal(*form), int(QDialog::Accepted));
        QCOMPARE(store_->ReadString(Export, "Export directory", ""), std::string("1"));
        QCOMPARE(store_->ReadString(Export, "export directory name", ""),
                 std::string("/srv/chosen/"));
        QCOMPARE(store_->ReadString(Export, "Emphasize links", ""), std::string("1"));
        QCOMPARE(store_->ReadString(Export, "Emphasize Type", ""), std::string("1"));
        QCOMPARE(store_->ReadString("Browser options", "FAT Path", ""), std::string("/x/FAT.DB"));
        QCOMPARE(TheProgramValues().ArchiveDir, std::string("/srv/chosen/"));
        QCOMPARE(TheProgramValues().CacheIndexPath, std::string("/x/FAT.DB"));
        QCOMPARE(TheProgramValues().ActiveEmphasizeTag, std::string("I"));
        // The reload on closing shows what was stored.
        QVERIFY(Find<QRadioButton>(*form, "ChooseDirectoryRB")->isChecked());
        QVERIFY(!Find<QPushButton>(*form, "ApplyBtn")->isEnabled());
    }

    void cancelDropsEditsInArkivoNav() {
        QVERIFY(store_->WriteString(Export, "Default directory", "/srv/stored/").ok());
        auto form = Create(Edition::Nav);
        env_->Windows().Queue([](QDialog& window) {
            Find<QLineEdit>(window, "DefaultDirectoryEB")->setText(QStringLiteral("/srv/typed/"));
            // ArkivoNav does not follow the typing.
            QCOMPARE(TheProgramValues().ArchiveDir, std::string("/srv/stored/"));
            Find<QCheckBox>(window, "CheckBox1")->click();
            Find<QPushButton>(window, "CancelBtn")->click();
        });
        QCOMPARE(TheModalWindows().ShowModal(*form), int(QDialog::Rejected));
        QCOMPARE(store_->ReadString(Export, "Default directory", ""), std::string("/srv/stored/"));
        QCOMPARE(TheProgramValues().ArchiveDir, std::string("/srv/stored/"));
        QCOMPARE(Find<QLineEdit>(*form, "DefaultDirectoryEB")->text(),
                 QStringLiteral("/srv/stored/"));
        QVERIFY(form->ShowOriginalUrls());
        QVERIFY(!Find<QPushButton>(*form, "ApplyBtn")->isEnabled());
    }

    void cancelDropsEditsInArkivoIE() {
        QVERIFY(store_->WriteString(Export, "Default directory", "/srv/stored/").ok());
        QVERIFY(store_->WriteString(Export, "export directory name", "/srv/other/").ok());
        auto form = Create(Edition::IE);
        env_->Windows().Queue([](QDialog& window) {
            Find<QLineEdit>(window, "DefaultDirectoryEB")->setText(QStringLiteral("/srv/typed/"));
            QCOMPARE(TheProgramValues().ArchiveDir, std::string("/srv/typed/"));
            Find<QRadioButton>(window, "ChooseDirectoryRB")->click();
            QCOMPARE(TheProgramValues().ArchiveDir, std::string("/srv/other/"));
            // Esc closes as Cancel does.
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        QCOMPARE(TheModalWindows().ShowModal(*form), int(QDialog::Rejected));
        QCOMPARE(TheProgramValues().ArchiveDir, std::string("/srv/stored/"));
        QVERIFY(Find<QRadioButton>(*form, "UseDefaultRB")->isChecked());
        QCOMPARE(store_->ReadString(Export, "Default directory", ""), std::string("/srv/stored/"));
    }

    void browseSetsTheArchiveDirectoryAtOnce() {
        const QString chosen = QString::fromStdString(env_->Path("chosen"));
        QVERIFY(QDir().mkpath(chosen));
        auto form = Create(Edition::Nav);
        env_->Windows().Queue([&](QDialog& window) {
            Find<QPushButton>(window, "BrowseSpeedButton")->click();
            QCOMPARE(TheProgramValues().ArchiveDir, chosen.toStdString() + "/");
            QCOMPARE(Find<QLineEdit>(window, "DefaultDirectoryEB")->text(), chosen + "/");
            Find<QPushButton>(window, "CancelBtn")->click();
        });
        env_->Windows().Queue([&](QDialog& window) {
            auto& picker = static_cast<QFileDialog&>(window);
            QVERIFY(picker.testOption(QFileDialog::DontUseNativeDialog));
            QCOMPARE(picker.fileMode(), QFileDialog::Directory);
            picker.selectFile(chosen);
            window.accept();
        });
        TheModalWindows().ShowModal(*form);
        const std::vector<QString> shown = {QStringLiteral("PrefsForm"),
                                            QStringLiteral("BrowseDirectoryDialog")};
        QCOMPARE(env_->Windows().Shown(), shown);
        // Cancel afterwards brings the stored directory back.
        QCOMPARE(TheProgramValues().ArchiveDir, env_->ProgramDirectory() + "ARCHIVE/");
    }

    void browseCancelledChangesNothing() {
        auto form = Create(Edition::IE);
        const QString before = Find<QLineEdit>(*form, "DefaultDirectoryEB")->text();
        Find<QPushButton>(*form, "BrowseSpeedButton")->click();
        QCOMPARE(Find<QLineEdit>(*form, "DefaultDirectoryEB")->text(), before);
        QCOMPARE(QString::fromStdString(TheProgramValues().ArchiveDir), before);
        QVERIFY(form->BrowseDirectoryDlg1()->Selection().isEmpty());
    }

    void pickerOkFollowsTheSelectedFolder() {
        auto form = Create(Edition::Nav);
        TBrowseDirectoryDlg* picker = form->BrowseDirectoryDlg1();
        env_->Windows().Queue([picker](QDialog& window) {
            auto* ok = window.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
            QVERIFY(ok->isEnabled());
            picker->OnSelChanged(picker, QString());
            QVERIFY(!ok->isEnabled());
            picker->OnSelChanged(picker, QStringLiteral("/"));
            QVERIFY(ok->isEnabled());
        });
        QVERIFY(!picker->Execute());
    }

    // The IE cache folder: loaded, picked with the directory picker (an index.dat
    // opens the picker at its folder), stored with OK, and the chosen cache follows.
    void ieCacheFolderIsPickedAndStored() {
        const std::string cache = env_->Path("wine/Content.IE5");
        testing::WriteTestFile(cache + "/index.dat", "x");
        QVERIFY(
            store_->WriteString("Browser options", "IE cache folder", cache + "/index.dat").ok());
        auto form = Create(Edition::IE);
        auto* edit = Find<QLineEdit>(*form, "IECacheEdit");
        QCOMPARE(edit->text(), QString::fromStdString(cache + "/index.dat"));
        QCOMPARE(TheProgramValues().CacheIndexPath, cache + "/index.dat");
        QString pickerStart;
        env_->Windows().Queue([&pickerStart](QDialog& window) {
            pickerStart = static_cast<QFileDialog&>(window).selectedFiles().value(0);
            static_cast<QFileDialog&>(window).selectFile(QStringLiteral("/"));
            window.accept();
        });
        Find<QPushButton>(*form, "BrowseIECacheBtn")->click();
        QCOMPARE(pickerStart, QString::fromStdString(cache));
        QCOMPARE(edit->text(), QStringLiteral("/"));
        QVERIFY(Find<QPushButton>(*form, "ApplyBtn")->isEnabled());
        edit->setText(QString::fromStdString(cache));
        Find<QPushButton>(*form, "OKBtn")->click();
        QCOMPARE(store_->ReadString("Browser options", "IE cache folder", ""), cache);
        QCOMPARE(TheProgramValues().CacheIndexPath, cache);
        form->ShowCacheSetting();
        QCOMPARE(Find<QTabWidget>(*form, "ExportPageControl")->currentWidget()->objectName(),
                 QStringLiteral("BrowserTab"));
    }

    void browserTabIsShownWhenTheIndexIsMissing() {
        auto form = Create(Edition::Nav);
        env_->Windows().Queue([](QDialog& window) {
            QCOMPARE(Find<QTabWidget>(window, "ExportPageControl")->currentWidget()->objectName(),
                     QStringLiteral("BrowserTab"));
        });
        TheModalWindows().ShowModal(*form);

        const std::string index = env_->Path("cache/FAT.DB");
        testing::WriteTestFile(index, "x");
        QVERIFY(store_->WriteString("Browser options", "FAT Path", index).ok());
        auto found = Create(Edition::Nav);
        env_->Windows().Queue([](QDialog& window) {
            QCOMPARE(Find<QTabWidget>(window, "ExportPageControl")->currentWidget()->objectName(),
                     QStringLiteral("ExportTab"));
        });
        TheModalWindows().ShowModal(*found);
    }
};

}  // namespace arkivo

QTEST_MAIN(arkivo::PrefsDialogTest)
#include "prefs_dialog_test.moc"
