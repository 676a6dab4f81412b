#include "gui/explorer/selection_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

#include "explorer/age_filter.h"
#include "explorer/cache_deletion.h"
#include "explorer/cache_loading.h"
#include "explorer/explorer_texts.h"
#include "gui/archiver/export_window.h"
#include "gui/common/context_help.h"
#include "gui/common/modal_windows.h"
#include "gui/common/qt_text.h"
#include "gui/shell/control_window.h"
#include "gui/shell/prefs_dialog.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "shell/help_file.h"
#include "shell/open_document.h"
#include "shell/program_values.h"

namespace arkivo {
namespace {

template <typename Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QListWidget* DomainListBox(QWidget* parent, const char* name, int left, int helpTopic) {
    auto* list = Named(new QListWidget(parent), name);
    list->setGeometry(left, 26, 190, 196);
    // Long domain names scroll rather than lose their ends.
    list->setTextElideMode(Qt::ElideNone);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    SetHelpContext(list, helpTopic);
    return list;
}

QToolButton* MoveButton(QWidget* parent, const char* name, const char* caption, const char* hint,
                        int top) {
    auto* button = Named(new QToolButton(parent), name);
    button->setText(QString::fromLatin1(caption));
    button->setToolTip(QString::fromLatin1(hint));
    button->setGeometry(206, top, 36, 26);
    button->setEnabled(false);
    return button;
}

QPushButton* CommandButton(QWidget* parent, const char* name, const char* caption, int top,
                           int helpTopic) {
    auto* button = Named(new QPushButton(QString::fromLatin1(caption), parent), name);
    button->setGeometry(452, top, 100, 28);
    button->setAutoDefault(false);
    if (helpTopic != 0) {
        SetHelpContext(button, helpTopic);
    }
    return button;
}

void ReplaceEntries(QListWidget* list, const std::vector<std::string>& names) {
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(names.size()));
    for (const auto& name : names) {
        entries.append(FromCoreText(name));
    }
    list->clear();
    list->addItems(entries);
}

std::vector<std::string> SelectedNames(const QListWidget* list) {
    std::vector<std::string> names;
    for (const QListWidgetItem* item : list->selectedItems()) {
        names.push_back(ToCoreText(item->text()));
    }
    return names;
}

std::vector<std::string> AllNames(const QListWidget* list) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i) {
        names.push_back(ToCoreText(list->item(i)->text()));
    }
    return names;
}

void ShowInformation(const char* text, DialogButtons buttons = DialogButtons::Ok,
                     int helpContext = 0) {
    TheDialogs().ShowMessage(DialogMessage{text, DialogIcon::Information, buttons, helpContext});
}

}  // namespace

TSelectionForm::TSelectionForm(Edition edition, TControlForm& controlForm, TPrefsForm* prefsForm)
    : QDialog(&controlForm), edition_(edition), controlForm_(controlForm), prefsForm_(prefsForm) {
    setObjectName(QStringLiteral("SelectionForm"));
    setWindowTitle(QStringLiteral("Arkivo - Cache Explorer"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowContextHelpButtonHint | Qt::WindowCloseButtonHint);
    SetHelpContext(this, HelpTopic::CacheExplorer);
    InstallContextHelp(this);
    setFixedSize(562, 358);
    CreateControls();
    ConnectHandlers();
    if (const QScreen* screen = QApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TSelectionForm::CreateControls() {
    backPanel_ = Named(new QWidget(this), "BackPanel");
    backPanel_->setGeometry(0, 0, width(), height());

    Named(new QLabel(QStringLiteral("Available Domains"), backPanel_), "SrcLabel")
        ->setGeometry(10, 8, 190, 16);
    srcList_ = DomainListBox(backPanel_, "SrcList", 10, HelpTopic::SourceList);
    Named(new QLabel(QStringLiteral("Archive/Delete"), backPanel_), "DstLabel")
        ->setGeometry(252, 8, 190, 16);
    dstList_ = DomainListBox(backPanel_, "DstList", 252, HelpTopic::DestinationList);

    includeBtn_ = MoveButton(backPanel_, "IncludeBtn", ">", "Add selection", 62);
    incAllBtn_ = MoveButton(backPanel_, "IncAllBtn", ">>", "Add all", 92);
    excludeBtn_ = MoveButton(backPanel_, "ExcludeBtn", "<", "Remove selection", 132);
    exAllBtn_ = MoveButton(backPanel_, "ExAllBtn", "<<", "Remove all", 162);

    auto* uncache =
        CommandButton(backPanel_, "UncacheButton", "&Archive", 26, HelpTopic::UncacheButton);
    uncache->setDefault(true);
    CommandButton(backPanel_, "DeleteButton", "&Delete", 60, HelpTopic::DeleteButton);
    CommandButton(backPanel_, "PrefsBtn", "&Properties", 94, HelpTopic::PrefsButton);
    CommandButton(backPanel_, "CancelButton", "&Close", 128,
                  edition_ == Edition::IE ? HelpTopic::ExplorerCancel : 0);
    CommandButton(backPanel_, "HelpButton", "&Help", 162, 0);

    CreateFilterControls(backPanel_);

    // The notice lies over the panel rather than in it, so that it stays readable
    // while the panel is disabled.
    fatPanel_ = Named(new QLabel(QString::fromLatin1(ReadingCacheText), this), "FatPanel");
    fatPanel_->setGeometry(50, 100, 352, 44);
    fatPanel_->setAlignment(Qt::AlignCenter);
    fatPanel_->setFrameShape(QFrame::Panel);
    fatPanel_->setFrameShadow(QFrame::Raised);
    fatPanel_->setAutoFillBackground(true);
    fatPanel_->hide();
}

void TSelectionForm::CreateFilterControls(QWidget* panel) {
    auto* chooseDates = Named(new QGroupBox(QStringLiteral("File Age"), panel), "ChooseDates");
    chooseDates->setGeometry(10, 234, 170, 114);
    SetHelpContext(chooseDates, HelpTopic::AgeFilter);
    oldNewBox_ = Named(new QComboBox(chooseDates), "OldNewBox");
    oldNewBox_->addItems(
        {QStringLiteral("All ages"), QStringLiteral("Newer than"), QStringLiteral("Older than")});
    oldNewBox_->setGeometry(10, 26, 150, 26);
    ageBox_ = Named(new QComboBox(chooseDates), "AgeBox");
    ageBox_->setGeometry(10, 66, 60, 26);
    hdwBox_ = Named(new QComboBox(chooseDates), "HDWBox");
    hdwBox_->addItems(
        {QStringLiteral("Hour(s)"), QStringLiteral("Day(s)"), QStringLiteral("Week(s)")});
    hdwBox_->setGeometry(76, 66, 84, 26);
    for (QWidget* box : {static_cast<QWidget*>(oldNewBox_), static_cast<QWidget*>(ageBox_),
                         static_cast<QWidget*>(hdwBox_)}) {
        SetHelpContext(box, HelpTopic::AgeFilter);
    }

    auto* ftypeBox = Named(new QGroupBox(QStringLiteral("File Types"), panel), "FtypeBox");
    ftypeBox->setGeometry(188, 234, 250, 114);
    textBox_ =
        Named(new QCheckBox(QStringLiteral("HTML/PlainText/Rich Text"), ftypeBox), "TextBox");
    textBox_->setGeometry(10, 26, 230, 22);
    SetHelpContext(textBox_, HelpTopic::TextBox);
    mediaBox_ =
        Named(new QCheckBox(QStringLiteral("Image/Sound/Video Files"), ftypeBox), "MediaBox");
    mediaBox_->setGeometry(10, 54, 230, 22);
    SetHelpContext(mediaBox_, HelpTopic::MediaBox);
    othersBox_ = Named(new QCheckBox(QStringLiteral("Other Files"), ftypeBox), "OthersBox");
    othersBox_->setGeometry(10, 82, 230, 22);
    SetHelpContext(othersBox_, HelpTopic::OthersBox);

    auto* numFilesBox =
        Named(new QGroupBox(QStringLiteral("Number of Files"), panel), "NumFilesBox");
    numFilesBox->setGeometry(446, 234, 106, 114);
    SetHelpContext(numFilesBox, HelpTopic::FileCounts);
    const auto countRow = [numFilesBox](const char* caption, const char* name, int top) {
        (new QLabel(QString::fromLatin1(caption), numFilesBox))->setGeometry(10, top, 44, 22);
        auto* count = Named(new QLabel(QStringLiteral("0"), numFilesBox), name);
        count->setGeometry(54, top, 46, 22);
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        count->setFrameShape(QFrame::Panel);
        count->setFrameShadow(QFrame::Sunken);
        return count;
    };
    numTextPanel_ = countRow("Text", "NumTextPanel", 26);
    numMediaPanel_ = countRow("Media", "NumMediaPanel", 54);
    numOtherPanel_ = countRow("Other", "NumOtherPanel", 82);
}

void TSelectionForm::ConnectHandlers() {
    connect(includeBtn_, &QToolButton::clicked, this, &TSelectionForm::IncludeBtnClick);
    connect(incAllBtn_, &QToolButton::clicked, this, &TSelectionForm::IncAllBtnClick);
    connect(excludeBtn_, &QToolButton::clicked, this, &TSelectionForm::ExcludeBtnClick);
    connect(exAllBtn_, &QToolButton::clicked, this, &TSelectionForm::ExcAllBtnClick);
    connect(srcList_, &QListWidget::itemDoubleClicked, this, &TSelectionForm::IncludeBtnClick);
    connect(dstList_, &QListWidget::itemDoubleClicked, this, &TSelectionForm::ExcludeBtnClick);
    connect(oldNewBox_, &QComboBox::activated, this, &TSelectionForm::OldNewBoxChange);
    connect(ageBox_, &QComboBox::activated, this, &TSelectionForm::AgeBoxChange);
    connect(hdwBox_, &QComboBox::activated, this, &TSelectionForm::HDWBoxChange);
    connect(textBox_, &QCheckBox::clicked, this, &TSelectionForm::TextBoxClick);
    connect(mediaBox_, &QCheckBox::clicked, this, &TSelectionForm::MediaBoxClick);
    connect(othersBox_, &QCheckBox::clicked, this, &TSelectionForm::OthersBoxClick);
    const auto button = [this](const char* name) {
        return findChild<QPushButton*>(QString::fromLatin1(name));
    };
    connect(button("UncacheButton"), &QPushButton::clicked, this,
            &TSelectionForm::UncacheButtonClick);
    connect(button("DeleteButton"), &QPushButton::clicked, this,
            &TSelectionForm::DeleteButtonClick);
    connect(button("PrefsBtn"), &QPushButton::clicked, this, &TSelectionForm::PrefsBtnClick);
    connect(button("HelpButton"), &QPushButton::clicked, this, &TSelectionForm::HelpButtonClick);
    connect(button("CancelButton"), &QPushButton::clicked, this,
            &TSelectionForm::CancelButtonClick);
}

void TSelectionForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TSelectionForm::FormShow() {
    oldNewBox_->setEnabled(true);
    mediaBox_->setEnabled(true);
    othersBox_->setEnabled(true);
    mediaBox_->setChecked(true);
    othersBox_->setChecked(true);
    ColourCount(numMediaPanel_, true);
    ColourCount(numOtherPanel_, true);

    oldNewBox_->setCurrentIndex(0);
    hdwBox_->setCurrentIndex(0);
    HDWBoxChange();

    ageBox_->setEnabled(false);
    hdwBox_->setEnabled(false);
    numTextPanel_->setText(QStringLiteral("0"));
    numMediaPanel_->setText(QStringLiteral("0"));
    numOtherPanel_->setText(QStringLiteral("0"));
    grouping_ = DomainGrouping();
    srcList_->clear();
    dstList_->clear();
    SetButtons();
    textBox_->setChecked(true);
    ColourCount(numTextPanel_, true);
    QApplication::processEvents();
}

void TSelectionForm::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The cache is read after this paint has put the window on the screen.
    if (controlForm_.CacheReloadPending() && !paintQueued_) {
        paintQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            paintQueued_ = false;
            FormPaint();
        });
    }
}

void TSelectionForm::FormPaint() {
    if (!controlForm_.CacheReloadPending()) {
        return;
    }
    BeginWait(ReadingCacheText);
    controlForm_.SetCacheReloadPending(false);
    const CacheLoad load =
        LoadCache(edition_, TheProgramValues().CacheIndexPath, controlForm_.CacheItems(),
                  [] { QApplication::processEvents(); });
    if (load.Outcome == CacheLoadOutcome::Read) {
        BuildDomainList(OpenAgeWindow(Now()));
    }
    EndWait();
    switch (load.Outcome) {
        case CacheLoadOutcome::Read:
            break;
        case CacheLoadOutcome::CannotOpen:
            reject();
            break;
        case CacheLoadOutcome::NoCache:
            OfferCacheSetting(load.Error);
            break;
        case CacheLoadOutcome::NoItems:
            ShowInformation(NoFilesFoundText);
            break;
        case CacheLoadOutcome::Failed:
            TheDialogs().ShowMessage(
                DialogMessage{load.Error, DialogIcon::Error, DialogButtons::Ok, 0});
            break;
    }
}

void TSelectionForm::OfferCacheSetting(const std::string& reason) {
    const DialogResult answer =
        TheDialogs().ShowMessage(DialogMessage{reason + "\r\n\r\n" + ChooseCacheQuestion(edition_),
                                               DialogIcon::Confirmation, DialogButtons::YesNo, 0});
    if (answer == DialogResult::Yes && prefsForm_ != nullptr) {
        prefsForm_->ShowCacheSetting();
        if (TheModalWindows().ShowModal(*prefsForm_) == QDialog::Accepted) {
            controlForm_.CacheItems().clear();
            controlForm_.SetCacheReloadPending(true);
            FormPaint();
            return;
        }
    }
    // Nothing to show without a cache.
    reject();
}

void TSelectionForm::BeginWait(const char* text) {
    fatPanel_->setText(QString::fromLatin1(text));
    fatPanel_->show();
    fatPanel_->raise();
    backPanel_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents();
}

void TSelectionForm::EndWait() {
    QApplication::restoreOverrideCursor();
    fatPanel_->hide();
    backPanel_->setEnabled(true);
    fatPanel_->setText(QString::fromLatin1(ReadingCacheText));
}

void TSelectionForm::BuildDomainList(const AgeWindow& window) {
    grouping_.BuildDomainList(controlForm_.CacheItems(), window);
    FillLists();
    SetButtons();
    CountSelection();
}

void TSelectionForm::FillLists() {
    for (QListWidget* list : {srcList_, dstList_}) {
        list->blockSignals(true);
        list->setUpdatesEnabled(false);
    }
    ReplaceEntries(srcList_, grouping_.SrcList().Names());
    ReplaceEntries(dstList_, grouping_.DstList().Names());
    for (QListWidget* list : {srcList_, dstList_}) {
        list->setUpdatesEnabled(true);
        list->blockSignals(false);
    }
}

void TSelectionForm::CountSelection() {
    const GroupCounts counts = grouping_.CountSelection();
    numTextPanel_->setText(QString::number(counts.Text));
    numMediaPanel_->setText(QString::number(counts.Media));
    numOtherPanel_->setText(QString::number(counts.Other));
}

void TSelectionForm::IncludeBtnClick() {
    const int first = GetFirstSelection(srcList_);
    MoveSelected(srcList_, true);
    SetItem(srcList_, first);
    CountSelection();
}

void TSelectionForm::ExcludeBtnClick() {
    const int first = GetFirstSelection(dstList_);
    MoveSelected(dstList_, false);
    SetItem(dstList_, first);
    CountSelection();
}

void TSelectionForm::IncAllBtnClick() {
    grouping_.MoveToDst(AllNames(srcList_));
    FillLists();
    SetItem(srcList_, 0);
    CountSelection();
}

void TSelectionForm::ExcAllBtnClick() {
    grouping_.MoveToSrc(AllNames(dstList_));
    FillLists();
    SetItem(dstList_, 0);
    CountSelection();
}

void TSelectionForm::MoveSelected(QListWidget* list, bool toDst) {
    const std::vector<std::string> names = SelectedNames(list);
    if (toDst) {
        grouping_.MoveToDst(names);
    } else {
        grouping_.MoveToSrc(names);
    }
    FillLists();
}

int TSelectionForm::GetFirstSelection(const QListWidget* list) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected()) {
            return i;
        }
    }
    return -1;
}

void TSelectionForm::SetItem(QListWidget* list, int index) {
    list->setFocus();
    const int row = SelectionAfterMove(index, list->count());
    if (row >= 0) {
        list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    SetButtons();
}

void TSelectionForm::SetButtons() {
    const bool sources = srcList_->count() > 0;
    const bool chosen = dstList_->count() > 0;
    includeBtn_->setEnabled(sources);
    incAllBtn_->setEnabled(sources);
    excludeBtn_->setEnabled(chosen);
    exAllBtn_->setEnabled(chosen);
}

void TSelectionForm::OldNewBoxChange() {
    const auto choice = static_cast<AgeChoice>(oldNewBox_->currentIndex());
    const auto unit = static_cast<AgeUnit>(hdwBox_->currentIndex());
    const bool aged = choice != AgeChoice::AllAges;
    ageBox_->setEnabled(aged);
    hdwBox_->setEnabled(aged);
    BuildDomainList(AgeWindowFor(choice, ageBox_->currentText().toInt(), unit, Now()));
}

void TSelectionForm::AgeBoxChange() {
    OldNewBoxChange();
}

void TSelectionForm::HDWBoxChange() {
    ageBox_->clear();
    for (const auto& amount : AgeAmounts(edition_, static_cast<AgeUnit>(hdwBox_->currentIndex()))) {
        ageBox_->addItem(FromCoreText(amount));
    }
    ageBox_->setCurrentIndex(0);
    OldNewBoxChange();
}

TypeSwitches TSelectionForm::Switches() const {
    return TypeSwitches{textBox_->isChecked(), mediaBox_->isChecked(), othersBox_->isChecked()};
}

void TSelectionForm::ColourCount(QLabel* panel, bool checked) {
    QPalette colours = panel->palette();
    colours.setColor(QPalette::WindowText,
                     checked ? palette().color(QPalette::WindowText) : QColor(128, 128, 128));
    panel->setPalette(colours);
}

void TSelectionForm::TextBoxClick() {
    ColourCount(numTextPanel_, textBox_->isChecked());
}

void TSelectionForm::MediaBoxClick() {
    ColourCount(numMediaPanel_, mediaBox_->isChecked());
}

void TSelectionForm::OthersBoxClick() {
    ColourCount(numOtherPanel_, othersBox_->isChecked());
}

void TSelectionForm::UncacheButtonClick() {
    backPanel_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents();
    const TypeSwitches switches = Switches();
    if (grouping_.ChosenCount(switches) == 0) {
        QApplication::restoreOverrideCursor();
        backPanel_->setEnabled(true);
        ShowInformation(NoFilesToArchiveText, DialogButtons::OkHelp, HelpTopic::NothingChosen);
        return;
    }
    TExportForm exportForm(this);
    ArchiveRun run(ArchiveOptions(), ArchiveHooks(exportForm));
    run.PrepareArchiveRun();
    for (const auto& item : controlForm_.CacheItems()) {
        if (grouping_.IsChosen(*item, switches)) {
            run.ArchiveJob().push_back(item.get());
        }
    }
    QApplication::restoreOverrideCursor();
    ArchiveRunResult result(ArchiveOutcome::NothingToArchive);
    try {
        if (run.StartArchiveRun()) {
            result = exportForm.Execute(run);
        }
    } catch (const std::exception&) {
        // A failed hand-over ends the archiving quietly; the window stays usable.
        result = ArchiveRunResult(ArchiveOutcome::Failed);
    }
    run.FinishArchiveRun(result);
    backPanel_->setEnabled(true);
}

ArchiveRunOptions TSelectionForm::ArchiveOptions() const {
    const ProgramValues& values = TheProgramValues();
    LinkOptions links;
    links.ActiveEmphasizeTag = values.ActiveEmphasizeTag;
    links.ActiveDeEmphasizeTag = values.ActiveDeEmphasizeTag;
    ArchiveRunOptions options{edition_, values.ArchiveDir, links, true};
    if (prefsForm_ != nullptr) {
        options.Links.ShowOriginalUrls = prefsForm_->ShowOriginalUrls();
        options.Links.EmphasizeLinks = prefsForm_->EmphasizeLinks();
        options.Links.StrikeoutLinks = prefsForm_->StrikeoutLinks();
        options.WriteWebArchive = prefsForm_->WriteWebArchive();
    }
    return options;
}

ArchiveRunHooks TSelectionForm::ArchiveHooks(TExportForm& exportForm) const {
    ArchiveRunHooks hooks = exportForm.Hooks();
    hooks.StoreSettings = [prefsForm = prefsForm_] {
        if (prefsForm != nullptr) {
            prefsForm->WriteSettingsToIni();
        }
    };
    hooks.OpenDocument = [](const std::string& path) { OpenDocument(path); };
    return hooks;
}

void TSelectionForm::DeleteButtonClick() {
    const TypeSwitches switches = Switches();
    if (grouping_.ChosenCount(switches) == 0) {
        ShowInformation(NoFilesToDeleteText, DialogButtons::OkHelp, HelpTopic::NothingChosen);
        return;
    }
    const std::string question =
        DeleteQuestion(oldNewBox_->currentIndex() == 0, grouping_, switches);
    if (TheDialogs().ShowMessage(
            DialogMessage{question, DialogIcon::Confirmation, DialogButtons::YesNoCancel, 0}) !=
        DialogResult::Yes) {
        return;
    }
    BeginWait(DeletingItemsText);
    const auto deleter = MakeCacheEntryDeleter(edition_, std::string());
    const DeletionResult result =
        DeleteChosenItems(controlForm_.CacheItems(), grouping_, switches, *deleter);
    EndWait();
    QApplication::processEvents();
    BuildDomainList(grouping_.Window());
    if (!result.Outcome.ok()) {
        TheDialogs().ShowMessage(
            DialogMessage{result.Outcome.message(), DialogIcon::Error, DialogButtons::Ok, 0});
    }
    if (result.MarkedForDeletion + result.NotDeleted > 0) {
        const std::string why =
            result.FirstRefusal.empty() ? "" : "\r\n\r\nThe first: " + result.FirstRefusal;
        TheDialogs().ShowMessage(DialogMessage{
            DeletionCountsText(result.Deleted, result.MarkedForDeletion, result.NotDeleted) + why,
            DialogIcon::Warning, DialogButtons::Ok, 0});
    }
}

void TSelectionForm::PrefsBtnClick() {
    if (prefsForm_ != nullptr) {
        TheModalWindows().ShowModal(*prefsForm_);
    }
}

void TSelectionForm::HelpButtonClick() {
    RequestHelpTopic(HelpTopic::CacheExplorer);
}

void TSelectionForm::CancelButtonClick() {
    reject();
}

}  // namespace arkivo
