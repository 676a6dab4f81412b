#include "gui/search/search_window.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTreeWidget>
#include <array>

#include "gui/common/context_help.h"
#include "gui/common/modal_windows.h"
#include "gui/common/qt_text.h"
#include "gui/shell/browse_directory_dialog.h"
#include "platform/dialogs.h"
#include "search/search_form_metrics.h"
#include "search/search_input.h"
#include "search/search_settings.h"
#include "shell/help_file.h"
#include "shell/open_document.h"

namespace arkivo {
namespace {

// Where a row keeps the archived file's path as the core's bytes, and its icon's
// index in ImageList1.
constexpr int FileRole = Qt::UserRole;
constexpr int ImageIndexRole = Qt::UserRole + 1;

// A page with a folded corner, 16 x 16, with a mark of its file class in accent.
QIcon FileClassIcon(FileClass fileClass) {
    static const std::array<QColor, 5> accents = {
        QColor(0x2F6DB5), QColor(0x3A9D3A), QColor(0x7B4FB8), QColor(0xC83A2E), QColor(0xD08A1C)};
    const QColor accent = accents[static_cast<std::size_t>(fileClass)];
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPolygonF page({{2.5, 0.5}, {10.5, 0.5}, {13.5, 3.5}, {13.5, 15.5}, {2.5, 15.5}});
    p.setPen(QPen(QColor(0x5A6B7D), 1));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    switch (fileClass) {
        case FileClass::Text:
            for (int y = 5; y <= 13; y += 2) {
                p.drawRect(QRectF(4.5, y, y == 13 ? 4 : 7, 1));
            }
            break;
        case FileClass::Image:
            p.drawPolygon(QPolygonF({{4, 13}, {7.5, 7}, {10, 11}, {11, 9.5}, {12.5, 13}}));
            p.drawEllipse(QPointF(10.5, 5.5), 1.3, 1.3);
            break;
        case FileClass::Audio:
            p.drawEllipse(QPointF(6.5, 12), 2, 1.6);
            p.drawRect(QRectF(7.7, 4.5, 1.2, 7.5));
            p.drawPolygon(QPolygonF({{8.9, 4.5}, {11.8, 6}, {11.8, 7.5}, {8.9, 6.2}}));
            break;
        case FileClass::Video:
            p.drawRect(QRectF(4, 5, 8.5, 7.5));
            p.setBrush(Qt::white);
            for (double y = 5.8; y < 12; y += 2) {
                p.drawRect(QRectF(4.6, y, 1, 1));
                p.drawRect(QRectF(10.9, y, 1, 1));
            }
            break;
        case FileClass::Other:
            p.drawEllipse(QPointF(8, 9.5), 3.2, 3.2);
            break;
    }
    return QIcon(pixmap);
}

// Rows sort by their URL caption with the desktop's string comparison.
class HitRow : public QTreeWidgetItem {
  public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override {
        return QString::localeAwareCompare(text(0), other.text(0)) < 0;
    }
};

QLabel* LabelFor(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

TSearchFrm::TSearchFrm(SettingsStore& store, QWidget* parent) : QDialog(parent), store_(store) {
    setObjectName(QStringLiteral("SearchFrm"));
    setWindowTitle(QStringLiteral("Arkivo - Search Archive"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    SetHelpContext(this, HelpTopic::Search);
    InstallContextHelp(this);
    CreateControls();
    CreatePopupMenu();

    const int pixelsPerInch = logicalDpiY();
    const FormSize minimum = SearchFormMinimumSize(pixelsPerInch);
    const FormSize initial = SearchFormInitialSize(pixelsPerInch);
    setMinimumSize(minimum.Width, minimum.Height);
    resize(initial.Width, initial.Height);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    directoryPicker_ = new TBrowseDirectoryDlg(this);
    directoryPicker_->setObjectName(QStringLiteral("BrowseDirectoryDlg1"));
    directoryPicker_->SetEnableOKButton(true);
    directoryPicker_->OnSelChanged = [](TBrowseDirectoryDlg* sender, const QString& newSel) {
        sender->SetEnableOKButton(!newSel.isEmpty());
    };

    dirEdit_->setText(FromCoreText(StoredSearchDirectory(store_)));
}

void TSearchFrm::CreateControls() {
    const auto named = [](auto* control, const char* name) {
        control->setObjectName(QString::fromLatin1(name));
        return control;
    };
    urlEdit_ = named(new QLineEdit, "URLEdit");
    htmlEdit_ = named(new QLineEdit, "HTMLEdit");
    dirEdit_ = named(new QLineEdit, "DirEdit");
    findButton_ = named(new QPushButton(QStringLiteral("&Find")), "FindButton");
    findButton_->setDefault(true);
    stopButton_ = named(new QPushButton(QStringLiteral("&Stop")), "StopButton");
    stopButton_->setEnabled(false);
    stopButton_->setAutoDefault(false);
    browseButton_ = named(new QPushButton(QStringLiteral("&Browse")), "BrowseButton");
    browseButton_->setAutoDefault(false);

    resultView_ = named(new QTreeWidget, "ResultView");
    resultView_->setColumnCount(2);
    resultView_->setHeaderLabels({QStringLiteral("URL"), QStringLiteral("Archive File")});
    resultView_->setRootIsDecorated(false);
    resultView_->setUniformRowHeights(true);
    resultView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultView_->setSelectionMode(QAbstractItemView::SingleSelection);
    resultView_->setIconSize(QSize(16, 16));
    resultView_->header()->setSectionsClickable(true);
    resultView_->header()->setStretchLastSection(false);
    resultView_->setColumnWidth(0, 330 * logicalDpiX() / DesignPixelsPerInch);
    resultView_->setColumnWidth(1, 260 * logicalDpiX() / DesignPixelsPerInch);

    auto* grid = new QGridLayout(this);
    grid->addWidget(LabelFor(QStringLiteral("Find in &URL"), urlEdit_), 0, 0);
    grid->addWidget(urlEdit_, 0, 1);
    grid->addWidget(findButton_, 0, 2);
    grid->addWidget(LabelFor(QStringLiteral("Find in &Text"), htmlEdit_), 1, 0);
    grid->addWidget(htmlEdit_, 1, 1);
    grid->addWidget(stopButton_, 1, 2);
    grid->addWidget(LabelFor(QStringLiteral("&Look in"), dirEdit_), 2, 0);
    grid->addWidget(dirEdit_, 2, 1);
    grid->addWidget(browseButton_, 2, 2);
    grid->addWidget(resultView_, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

    connect(findButton_, &QPushButton::clicked, this, &TSearchFrm::FindButtonClick);
    connect(stopButton_, &QPushButton::clicked, this, &TSearchFrm::StopButtonClick);
    connect(browseButton_, &QPushButton::clicked, this, &TSearchFrm::BrowseButtonClick);
    connect(resultView_, &QTreeWidget::itemDoubleClicked, this, &TSearchFrm::ResultViewDblClick);
    connect(resultView_->header(), &QHeaderView::sectionClicked, this,
            &TSearchFrm::ResultViewColumnClick);
}

void TSearchFrm::CreatePopupMenu() {
    resultMenu_ = new QMenu(resultView_);
    resultMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* open = resultMenu_->addAction(QStringLiteral("Open"));
    open->setObjectName(QStringLiteral("Open1"));
    resultMenu_->setDefaultAction(open);
    // The hidden item stands for Enter in the list. Qt never fires the shortcut of a
    // hidden action, so shortcuts on the list trigger it.
    QAction* enter = resultMenu_->addAction(QStringLiteral("open"));
    enter->setObjectName(QStringLiteral("open1"));
    enter->setShortcut(QKeySequence(Qt::Key_Return));
    enter->setVisible(false);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), resultView_);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, enter, &QAction::trigger);
    }
    QAction* cancel = resultMenu_->addAction(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("Cancel1"));
    connect(open, &QAction::triggered, this, &TSearchFrm::ResultViewDblClick);
    connect(enter, &QAction::triggered, this, &TSearchFrm::ResultViewDblClick);

    resultView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(resultView_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        resultMenu_->popup(resultView_->viewport()->mapToGlobal(at));
    });
}

void TSearchFrm::FindButtonClick() {
    const std::string dirText = ToCoreText(dirEdit_->text());
    const SearchInputCheck check =
        CheckSearchInput(ToCoreText(urlEdit_->text()), ToCoreText(htmlEdit_->text()), dirText);
    if (check != SearchInputCheck::Ok) {
        ShowInformation(SearchInputMessage(check, dirText));
        (check == SearchInputCheck::NoSearchText ? urlEdit_ : dirEdit_)->setFocus();
        return;
    }
    SearchArchive();
    StoreSearchDirectory(store_, dirText);
}

void TSearchFrm::SearchArchive() {
    stopFlag_ = false;
    resultView_->clear();
    stopButton_->setEnabled(true);
    findButton_->setEnabled(false);
    SearchCallbacks callbacks;
    callbacks.HitFound = [this](const SearchHit& hit) { AddHit(hit); };
    callbacks.ProcessPendingMessages = [] { QCoreApplication::processEvents(); };
    callbacks.StopRequested = [this] { return stopFlag_; };
    arkivo::SearchArchive(
        {ToCoreText(dirEdit_->text()), ToCoreText(urlEdit_->text()), ToCoreText(htmlEdit_->text())},
        callbacks);
    if (resultView_->topLevelItemCount() == 0) {
        ShowInformation(NoFilesFoundText);
    }
    stopButton_->setEnabled(false);
    findButton_->setEnabled(true);
}

void TSearchFrm::AddHit(const SearchHit& hit) {
    auto* row = new HitRow(resultView_);
    row->setText(0, FromCoreText(hit.Url));
    row->setText(1, FromCoreText(hit.File));
    row->setIcon(0, FileClassIcon(hit.Class));
    row->setData(0, FileRole, QByteArray::fromStdString(hit.File));
    row->setData(0, ImageIndexRole, static_cast<int>(hit.Class));
}

void TSearchFrm::StopButtonClick() {
    stopFlag_ = true;
    stopButton_->setEnabled(false);
}

void TSearchFrm::ResultViewDblClick() {
    const QList<QTreeWidgetItem*> selected = resultView_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    OpenDocument(selected.front()->data(0, FileRole).toByteArray().toStdString());
}

void TSearchFrm::ResultViewColumnClick(int) {
    resultView_->sortItems(0, Qt::AscendingOrder);
}

void TSearchFrm::BrowseButtonClick() {
    directoryPicker_->SetSelection(dirEdit_->text());
    if (directoryPicker_->Execute()) {
        dirEdit_->setText(directoryPicker_->Selection());
    }
}

void TSearchFrm::reject() {
    stopFlag_ = true;
    QDialog::reject();
}

void TSearchFrm::ShowInformation(std::string_view text) {
    TheDialogs().ShowMessage({std::string(text), DialogIcon::Information, DialogButtons::Ok, 0});
}

void ShowSearchWindow(SettingsStore& store, QWidget* parent) {
    TSearchFrm searchFrm(store, parent);
    TheModalWindows().ShowModal(searchFrm);
}

}  // namespace arkivo
