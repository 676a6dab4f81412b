#include "gui/shell/prefs_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "gui/common/context_help.h"
#include "gui/common/modal_windows.h"
#include "gui/common/qt_text.h"
#include "gui/shell/browse_directory_dialog.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "shell/help_file.h"
#include "shell/prefs_rules.h"
#include "shell/program_values.h"

namespace arkivo {
namespace {

template <typename Control>
Control* Named(Control* control, const char* name, const QRect& geometry) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

QPushButton* BrowseButtonAt(QWidget* parent, const char* name, const QRect& geometry) {
    auto* button = Named(new QPushButton(QStringLiteral("Browse"), parent), name, geometry);
    button->setToolTip(QStringLiteral("Browse directory"));
    button->setAutoDefault(false);
    return button;
}

QLabel* TextAt(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

TPrefsForm::TPrefsForm(Edition edition, SettingsStore& store, QWidget* parent)
    : QDialog(parent), edition_(edition), store_(store) {
    setObjectName(QStringLiteral("PrefsForm"));
    setWindowTitle(QStringLiteral("Arkivo Properties"));
    setFixedSize(432, 508);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    SetHelpContext(this, HelpTopic::Properties);
    InstallContextHelp(this);

    exportPageControl_ = Named(new QTabWidget(this), "ExportPageControl", QRect(8, 8, 417, 455));
    SetHelpContext(exportPageControl_, HelpTopic::Properties);
    exportPageControl_->addTab(CreateGeneralTab(), QStringLiteral("General"));
    browserTab_ = edition_ == Edition::Nav ? CreateBrowserTab() : CreateIeCacheTab();
    exportPageControl_->addTab(browserTab_, QStringLiteral("Browser"));

    auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), "OKBtn", QRect(188, 474, 75, 25));
    ok->setDefault(true);
    auto* cancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "CancelBtn",
                         QRect(268, 474, 75, 25));
    cancel->setAutoDefault(false);
    applyBtn_ =
        Named(new QPushButton(QStringLiteral("Apply"), this), "ApplyBtn", QRect(348, 474, 75, 25));
    applyBtn_->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TPrefsForm::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(applyBtn_, &QPushButton::clicked, this, &TPrefsForm::ApplyBtnClick);

    directoryPicker_ = new TBrowseDirectoryDlg(this);
    directoryPicker_->SetEnableOKButton(true);
    directoryPicker_->OnSelChanged = [this](TBrowseDirectoryDlg* sender, const QString& path) {
        BrowseDirectoryDlg1SelChanged(sender, path);
    };

    ConnectHandlers();
    FillInText();
}

QWidget* TPrefsForm::CreateGeneralTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("ExportTab"));
    SetHelpContext(tab, HelpTopic::Properties);

    auto* group = Named(new QGroupBox(QStringLiteral("Archive directory location"), tab),
                        "DirectoryLocationGroupBox", QRect(8, 8, 389, 138));
    useDefaultRB_ = Named(new QRadioButton(QStringLiteral("Use &default archive directory"), group),
                          "UseDefaultRB", QRect(12, 22, 360, 20));
    defaultDirectoryEB_ = Named(new QLineEdit(group), "DefaultDirectoryEB", QRect(30, 45, 276, 24));
    browseSpeedButton_ = BrowseButtonAt(group, "BrowseSpeedButton", QRect(312, 45, 69, 24));
    chooseDirectoryRB_ = Named(new QRadioButton(QStringLiteral("&Choose directory"), group),
                               "ChooseDirectoryRB", QRect(12, 79, 360, 20));
    exportDirNameEB_ = Named(new QLineEdit(group), "ExportDirNameEB", QRect(30, 102, 276, 24));
    browseButton_ = BrowseButtonAt(group, "BrowseButton", QRect(312, 102, 69, 24));

    originalUrlsBox_ =
        Named(new QCheckBox(QStringLiteral("Use &original URLs for unvisited links"), tab),
              "CheckBox1", QRect(12, 150, 380, 22));
    strikeoutLinksBox_ = Named(new QCheckBox(QStringLiteral("&Strikeout unvisited links"), tab),
                               "CheckBox3", QRect(12, 172, 380, 22));
    emphasizeLinksBox_ = Named(new QCheckBox(QStringLiteral("&Emphasize available links"), tab),
                               "CheckBox2", QRect(12, 194, 380, 22));
    CreateEmphasisPanel(tab);
    webArchiveBox_ = Named(new QCheckBox(QStringLiteral("Also write a web archive (WARC)"), tab),
                           "WebArchiveCheckBox", QRect(12, 384, 380, 22));
    return tab;
}

void TPrefsForm::CreateEmphasisPanel(QWidget* tab) {
    auto* panel = Named(new QFrame(tab), "EmphasizePanel", QRect(8, 220, 389, 158));
    panel->setFrameShape(QFrame::StyledPanel);
    boldRB_ = Named(new QRadioButton(QStringLiteral("&Bold face"), panel), "BoldRB",
                    QRect(12, 8, 110, 22));
    italicizedRB_ = Named(new QRadioButton(QStringLiteral("&Italicized"), panel), "ItalicizedRB",
                          QRect(134, 8, 110, 22));
    largerTextRB_ = Named(new QRadioButton(QStringLiteral("&Larger text"), panel), "LargerTextRB",
                          QRect(256, 8, 120, 22));
    customRB_ = Named(new QRadioButton(QStringLiteral("&Custom"), panel), "CustomRB",
                      QRect(12, 32, 110, 22));

    emphasizedEB_ = Named(new QLineEdit(panel), "EmphasizedEB", QRect(12, 80, 178, 24));
    deEmphasizedEB_ = Named(new QLineEdit(panel), "DeEmphasizedEB", QRect(198, 80, 178, 24));
    auto* emphasizing = TextAt(panel, QStringLiteral("Emphasi&zing tag"), QRect(12, 60, 178, 18));
    emphasizing->setBuddy(emphasizedEB_);
    auto* deEmphasizing =
        TextAt(panel, QStringLiteral("De-emphasizin&g tag"), QRect(198, 60, 178, 18));
    deEmphasizing->setBuddy(deEmphasizedEB_);

    emphasisPreview_ = Named(new QLabel(panel), "Panel2", QRect(12, 112, 364, 36));
    // A styled frame keeps all four edges visible around the white preview.
    emphasisPreview_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    emphasisPreview_->setAlignment(Qt::AlignCenter);
    emphasisPreview_->setTextFormat(Qt::PlainText);
    emphasisPreview_->setAutoFillBackground(true);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    emphasisPreview_->setFont(font);
    QPalette white = emphasisPreview_->palette();
    white.setColor(QPalette::Window, Qt::white);
    emphasisPreview_->setPalette(white);
}

QWidget* TPrefsForm::CreateBrowserTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("BrowserTab"));
    SetHelpContext(tab, HelpTopic::Properties);
    auto* box = Named(new QGroupBox(QStringLiteral("Netscape cache index path"), tab), "FATBox",
                      QRect(8, 8, 389, 180));
    fatEdit_ = Named(new QLineEdit(box), "FATEdit", QRect(12, 26, 294, 24));
    auto* browse = BrowseButtonAt(box, "BrowseFATBtn", QRect(312, 26, 69, 24));
    connect(browse, &QPushButton::clicked, this, &TPrefsForm::BrowseFATBtnClick);
    auto* explanation =
        TextAt(box,
               QStringLiteral("Location of the Netscape cache index file. Normally "
                              "located in the Netscape cache directory and called:"),
               QRect(12, 62, 369, 36));
    explanation->setWordWrap(true);
    QFont bold = explanation->font();
    bold.setBold(true);
    TextAt(box, QStringLiteral("FAT"), QRect(36, 108, 70, 18))->setFont(bold);
    TextAt(box, QStringLiteral("in Netscape 1.x"), QRect(110, 108, 250, 18));
    TextAt(box, QStringLiteral("FAT.DB"), QRect(36, 132, 70, 18))->setFont(bold);
    TextAt(box, QStringLiteral("In Netscape 2, 3 & 4"), QRect(110, 132, 250, 18));
    return tab;
}

QWidget* TPrefsForm::CreateIeCacheTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("BrowserTab"));
    SetHelpContext(tab, HelpTopic::Properties);
    auto* box = Named(new QGroupBox(QStringLiteral("Internet Explorer cache folder"), tab),
                      "IECacheBox", QRect(8, 8, 389, 180));
    ieCacheEdit_ = Named(new QLineEdit(box), "IECacheEdit", QRect(12, 26, 294, 24));
    auto* browse = BrowseButtonAt(box, "BrowseIECacheBtn", QRect(312, 26, 69, 24));
    connect(browse, &QPushButton::clicked, this, &TPrefsForm::BrowseIECacheBtnClick);
    auto* explanation = TextAt(box, FromCoreText(IeCacheSettingText), QRect(12, 58, 369, 112));
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return tab;
}

void TPrefsForm::ConnectHandlers() {
    for (QRadioButton* button : {useDefaultRB_, chooseDirectoryRB_}) {
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked) {
                ChooseDirectoryRBClick();
            }
        });
    }
    for (QRadioButton* button : {boldRB_, italicizedRB_, largerTextRB_, customRB_}) {
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked) {
                CustomRBClick();
            }
        });
    }
    connect(originalUrlsBox_, &QCheckBox::toggled, this, &TPrefsForm::CheckBox1Click);
    connect(emphasizeLinksBox_, &QCheckBox::toggled, this, &TPrefsForm::CheckBox2Click);
    connect(strikeoutLinksBox_, &QCheckBox::toggled, this, &TPrefsForm::CheckBox3Click);
    connect(webArchiveBox_, &QCheckBox::toggled, this, &TPrefsForm::EnableApply);
    connect(emphasizedEB_, &QLineEdit::textChanged, this, &TPrefsForm::EmphasizedEBChange);
    connect(deEmphasizedEB_, &QLineEdit::textChanged, this, &TPrefsForm::EmphasizedEBChange);
    connect(defaultDirectoryEB_, &QLineEdit::textChanged, this,
            &TPrefsForm::DefaultDirectoryEBChange);
    connect(exportDirNameEB_, &QLineEdit::textChanged, this, &TPrefsForm::ExportDirNameEBChange);
    connect(browseSpeedButton_, &QPushButton::clicked, this, &TPrefsForm::BrowseSpeedButtonClick);
    connect(browseButton_, &QPushButton::clicked, this, &TPrefsForm::BrowseButtonClick);
    for (QLineEdit* cacheEdit : {fatEdit_, ieCacheEdit_}) {
        if (cacheEdit != nullptr) {
            connect(cacheEdit, &QLineEdit::textChanged, this, &TPrefsForm::FATEditChange);
        }
    }
}

void TPrefsForm::FillInText() {
    const ProgramSettings settings = LoadProgramSettings(store_, edition_);
    ProgramValues& values = TheProgramValues();
    // The handlers stay quiet while the controls are filled; the enabling rules and
    // the program-wide values are set once, below.
    loading_ = true;
    if (fatEdit_ != nullptr) {
        fatEdit_->setText(FromCoreText(settings.FatPath));
        values.CacheIndexPath = ProgramValueText(settings.FatPath);
    }
    if (ieCacheEdit_ != nullptr) {
        ieCacheEdit_->setText(FromCoreText(settings.IeCache));
        values.CacheIndexPath = settings.IeCache;
    }
    defaultDirectoryEB_->setText(FromCoreText(settings.DefaultDirectory));
    originalUrlsBox_->setChecked(settings.ShowOriginalUrls);
    emphasizeLinksBox_->setChecked(settings.EmphasizeLinks);
    strikeoutLinksBox_->setChecked(settings.StrikeoutLinks);
    webArchiveBox_->setChecked(settings.WriteWebArchive);
    emphasizedEB_->setText(FromCoreText(settings.CustomTags.Open));
    deEmphasizedEB_->setText(FromCoreText(settings.CustomTags.Close));
    QRadioButton* presets[] = {boldRB_, italicizedRB_, largerTextRB_, customRB_};
    presets[static_cast<int>(settings.Emphasis)]->setChecked(true);
    exportDirNameEB_->setText(FromCoreText(settings.ExportDirectoryName));
    (settings.UseChosenDirectory ? chooseDirectoryRB_ : useDefaultRB_)->setChecked(true);
    emphasisPreview_->setText(
        FromCoreText(EmphasisPreviewText(settings.CustomTags.Open, settings.CustomTags.Close)));
    loading_ = false;

    values.ArchiveDir = settings.ArchiveDir;
    values.ActiveEmphasizeTag = settings.ActiveTags.Open;
    values.ActiveDeEmphasizeTag = settings.ActiveTags.Close;
    ChooseDirectoryRBClick();
    CheckBox2Click();
    values.ArchiveDir = settings.ArchiveDir;
    applyBtn_->setEnabled(false);
}

ProgramSettings TPrefsForm::ShownSettings() const {
    ProgramSettings settings;
    if (fatEdit_ != nullptr) {
        settings.FatPath = ToCoreText(fatEdit_->text());
    }
    if (ieCacheEdit_ != nullptr) {
        settings.IeCache = ToCoreText(ieCacheEdit_->text());
    }
    settings.DefaultDirectory = ToCoreText(defaultDirectoryEB_->text());
    settings.ShowOriginalUrls = originalUrlsBox_->isChecked();
    settings.EmphasizeLinks = emphasizeLinksBox_->isChecked();
    settings.StrikeoutLinks = strikeoutLinksBox_->isChecked();
    settings.CustomTags = {ToCoreText(emphasizedEB_->text()), ToCoreText(deEmphasizedEB_->text())};
    settings.Emphasis = customRB_->isChecked()       ? EmphasisPreset::Custom
                        : largerTextRB_->isChecked() ? EmphasisPreset::Larger
                        : italicizedRB_->isChecked() ? EmphasisPreset::Italic
                                                     : EmphasisPreset::Bold;
    settings.UseChosenDirectory = chooseDirectoryRB_->isChecked();
    settings.ExportDirectoryName = ToCoreText(exportDirNameEB_->text());
    settings.WriteWebArchive = webArchiveBox_->isChecked();
    return settings;
}

void TPrefsForm::WriteSettingsToIni() {
    const ProgramSettings settings = ShownSettings();
    const Status stored = StoreProgramSettings(store_, settings, edition_);
    if (edition_ == Edition::IE) {
        TheProgramValues().CacheIndexPath = settings.IeCache;
    } else {
        ProgramValues& values = TheProgramValues();
        values.CacheIndexPath = ProgramValueText(settings.FatPath);
        values.ArchiveDir = ProgramValueText(
            settings.UseChosenDirectory ? settings.ExportDirectoryName : settings.DefaultDirectory);
    }
    if (!stored.ok()) {
        TheDialogs().ShowMessage({stored.message(), DialogIcon::Error, DialogButtons::Ok, 0});
    }
}

bool TPrefsForm::ShowOriginalUrls() const {
    return originalUrlsBox_->isChecked();
}

bool TPrefsForm::EmphasizeLinks() const {
    return emphasizeLinksBox_->isChecked();
}

bool TPrefsForm::StrikeoutLinks() const {
    return strikeoutLinksBox_->isChecked();
}

bool TPrefsForm::WriteWebArchive() const {
    return webArchiveBox_->isChecked();
}

void TPrefsForm::SetShowOriginalUrls(bool on) {
    originalUrlsBox_->setChecked(on);
}

void TPrefsForm::SetEmphasizeLinks(bool on) {
    emphasizeLinksBox_->setChecked(on);
}

void TPrefsForm::SetStrikeoutLinks(bool on) {
    strikeoutLinksBox_->setChecked(on);
}

void TPrefsForm::done(int result) {
    QDialog::done(result);
    FormClose();
}

void TPrefsForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TPrefsForm::FormShow() {
    if (edition_ == Edition::Nav && !FileExists(TheProgramValues().CacheIndexPath)) {
        exportPageControl_->setCurrentWidget(browserTab_);
    }
}

void TPrefsForm::ShowCacheSetting() {
    exportPageControl_->setCurrentWidget(browserTab_);
}

void TPrefsForm::FormClose() {
    FillInText();
}

void TPrefsForm::OKBtnClick() {
    WriteSettingsToIni();
    accept();
}

void TPrefsForm::ApplyBtnClick() {
    WriteSettingsToIni();
    applyBtn_->setEnabled(false);
}

void TPrefsForm::EnableApply() {
    if (!loading_) {
        applyBtn_->setEnabled(true);
    }
}

void TPrefsForm::ChooseDirectoryRBClick() {
    if (loading_) {
        return;
    }
    EnableApply();
    const bool chosen = chooseDirectoryRB_->isChecked();
    exportDirNameEB_->setEnabled(chosen);
    browseButton_->setEnabled(chosen);
    defaultDirectoryEB_->setEnabled(!chosen);
    browseSpeedButton_->setEnabled(!chosen);
    if (DirectoryEditsSetArchiveDir(edition_)) {
        const QLineEdit* enabled = chosen ? exportDirNameEB_ : defaultDirectoryEB_;
        TheProgramValues().ArchiveDir = ProgramValueText(ToCoreText(enabled->text()));
    }
}

void TPrefsForm::CheckBox1Click() {
    EnableApply();
}

void TPrefsForm::CheckBox2Click() {
    if (loading_) {
        return;
    }
    const bool on = emphasizeLinksBox_->isChecked();
    for (QRadioButton* button : {boldRB_, italicizedRB_, largerTextRB_, customRB_}) {
        button->setEnabled(on);
    }
    CustomRBClick();
    EnableApply();
}

void TPrefsForm::CheckBox3Click() {
    EnableApply();
}

void TPrefsForm::CustomRBClick() {
    if (loading_) {
        return;
    }
    QPalette preview = emphasisPreview_->palette();
    if (customRB_->isChecked() && customRB_->isEnabled()) {
        emphasizedEB_->setEnabled(true);
        deEmphasizedEB_->setEnabled(true);
        preview.setColor(QPalette::WindowText, Qt::black);
        emphasisPreview_->setPalette(preview);
        EmphasizedEBChange();
    } else {
        emphasizedEB_->setEnabled(false);
        deEmphasizedEB_->setEnabled(false);
        preview.setColor(QPalette::WindowText, palette().color(QPalette::Disabled, QPalette::Text));
        emphasisPreview_->setPalette(preview);
    }
    ProgramValues& values = TheProgramValues();
    const std::pair<QRadioButton*, EmphasisPreset> presets[] = {
        {boldRB_, EmphasisPreset::Bold},
        {italicizedRB_, EmphasisPreset::Italic},
        {largerTextRB_, EmphasisPreset::Larger}};
    for (const auto& [button, preset] : presets) {
        if (button->isChecked()) {
            const EmphasisTags tags = PresetTags(preset, {});
            values.ActiveEmphasizeTag = tags.Open;
            values.ActiveDeEmphasizeTag = tags.Close;
        }
    }
    EnableApply();
}

void TPrefsForm::EmphasizedEBChange() {
    if (loading_) {
        return;
    }
    const std::string open = ToCoreText(emphasizedEB_->text());
    const std::string close = ToCoreText(deEmphasizedEB_->text());
    emphasisPreview_->setText(FromCoreText(EmphasisPreviewText(open, close)));
    TheProgramValues().ActiveEmphasizeTag = ProgramValueText(open);
    TheProgramValues().ActiveDeEmphasizeTag = ProgramValueText(close);
}

void TPrefsForm::DirectoryEdited(QLineEdit* edit) {
    if (loading_) {
        return;
    }
    if (DirectoryEditsSetArchiveDir(edition_)) {
        TheProgramValues().ArchiveDir = ProgramValueText(ToCoreText(edit->text()));
    }
    if (DirectoryEditsEnableApply(edition_)) {
        EnableApply();
    }
}

void TPrefsForm::DefaultDirectoryEBChange() {
    DirectoryEdited(defaultDirectoryEB_);
}

void TPrefsForm::ExportDirNameEBChange() {
    DirectoryEdited(exportDirNameEB_);
}

void TPrefsForm::BrowseInto(QLineEdit* edit) {
    directoryPicker_->SetSelection(edit->text());
    if (directoryPicker_->Execute()) {
        edit->setText(directoryPicker_->Selection());
        TheProgramValues().ArchiveDir = ProgramValueText(ToCoreText(edit->text()));
    }
}

void TPrefsForm::BrowseSpeedButtonClick() {
    BrowseInto(defaultDirectoryEB_);
}

void TPrefsForm::BrowseButtonClick() {
    BrowseInto(exportDirNameEB_);
}

void TPrefsForm::BrowseDirectoryDlg1SelChanged(TBrowseDirectoryDlg* sender, const QString& newSel) {
    sender->SetEnableOKButton(!newSel.isEmpty());
}

void TPrefsForm::BrowseFATBtnClick() {
    QFileDialog openDialog1(this);
    openDialog1.setObjectName(QStringLiteral("OpenDialog1"));
    openDialog1.setOption(QFileDialog::DontUseNativeDialog);
    // Index files are looked for whatever the case of their names.
    openDialog1.setOption(QFileDialog::HideNameFilterDetails);
    openDialog1.setNameFilter(
        QStringLiteral("Netscape FAT file (FAT, FAT.DB) ([Ff][Aa][Tt] [Ff][Aa][Tt].[Dd][Bb])"));
    openDialog1.setFileMode(QFileDialog::ExistingFile);
    openDialog1.setAcceptMode(QFileDialog::AcceptOpen);
    if (!fatEdit_->text().isEmpty()) {
        openDialog1.selectFile(fatEdit_->text());
    }
    if (TheModalWindows().ShowModal(openDialog1) == QDialog::Accepted &&
        !openDialog1.selectedFiles().isEmpty()) {
        fatEdit_->setText(openDialog1.selectedFiles().front());
    }
}

void TPrefsForm::BrowseIECacheBtnClick() {
    // The picker shows folders; a chosen index.dat stands for the folder holding it.
    const QFileInfo current(ieCacheEdit_->text());
    directoryPicker_->SetSelection(current.isFile() ? current.absolutePath()
                                                    : ieCacheEdit_->text());
    if (directoryPicker_->Execute()) {
        ieCacheEdit_->setText(directoryPicker_->Selection());
    }
}

void TPrefsForm::FATEditChange() {
    EnableApply();
}

}  // namespace arkivo
