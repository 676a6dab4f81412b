#include "gui/shell/control_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>

#include "gui/common/context_help.h"
#include "gui/common/modal_windows.h"
#include "gui/common/pictures.h"
#include "gui/common/qt_text.h"
#include "gui/shell/about_dialog.h"
#include "gui/shell/prefs_dialog.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "shell/default_index.h"
#include "shell/help_file.h"
#include "shell/open_document.h"
#include "shell/prefs_rules.h"
#include "shell/program_values.h"
#include "shell/version_text.h"

namespace arkivo {
namespace {

constexpr int ClientWidth = 452, ClientHeight = 384;
constexpr int ButtonLeft = 72, ButtonSize = 49, LabelLeft = 144, LabelWidth = 281;
// A description may grow down to just above the next row (rows are 64 pixels apart).
constexpr int DescriptionRoom = 60;
constexpr int DescriptionPixelSize = 13, SmallestDescriptionPixelSize = 9;

void ShowInformation(const char* text) {
    TheDialogs().ShowMessage({text, DialogIcon::Information, DialogButtons::Ok, 0});
}

QAction* AddMenuItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void AddSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

}  // namespace

TControlForm::TControlForm(Edition edition, SettingsStore store)
    : edition_(edition), settingsStore_(std::make_unique<SettingsStore>(std::move(store))) {
    setObjectName(QStringLiteral("ControlForm"));
    setWindowTitle(QStringLiteral("Arkivo"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    SetHelpContext(this, HelpTopic::MainWindow);
    InstallContextHelp(this);
    CreateControls();
    CreateMenus();
    // The client area is fixed; the window is as large as it and the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (const QScreen* screen = QApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

TControlForm::~TControlForm() {
    for (auto& item : cacheItems_) {
        item.reset();
    }
    cacheItems_.clear();
}

void TControlForm::CreateControls() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedSize(ClientWidth, ClientHeight);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);
    setCentralWidget(panel);

    auto* strip = new QLabel(panel);
    strip->setObjectName(QStringLiteral("Image3"));
    strip->setGeometry(23, 1, 44, 500);
    strip->setPixmap(SideStrip());

    auto* logo = new QLabel(panel);
    logo->setObjectName(QStringLiteral("Image1"));
    logo->setGeometry(LabelLeft, 10, 200, 60);
    logo->setPixmap(ProductLogo());

    const QCursor hand = HandCursor();
    smallLogo_ = new QLabel(panel);
    smallLogo_->setObjectName(QStringLiteral("Image2"));
    smallLogo_->setGeometry(184, 341, 117, 32);
    smallLogo_->setPixmap(SmallLogo());
    smallLogo_->setCursor(hand);
    smallLogo_->installEventFilter(this);

    AddPictureButton(panel, "ArkivoButton", 88, ButtonGlyph::CacheExplorer);
    AddPictureButton(panel, "ViewButton", 152, ButtonGlyph::DefaultIndex);
    AddPictureButton(panel, "SearchButton", 216, ButtonGlyph::Search);
    AddPictureButton(panel, "SetupButton", 280, ButtonGlyph::Properties);
    for (QToolButton* button : buttons_) {
        button->setCursor(hand);
    }
    for (int i = 1; i < buttons_.size(); ++i) {
        setTabOrder(buttons_[i - 1], buttons_[i]);
    }
    connect(buttons_[0], &QToolButton::clicked, this, &TControlForm::ArkivoButtonClick);
    connect(buttons_[1], &QToolButton::clicked, this, &TControlForm::ViewButtonClick);
    connect(buttons_[2], &QToolButton::clicked, this, &TControlForm::SearchButtonClick);
    connect(buttons_[3], &QToolButton::clicked, this, &TControlForm::SetupButtonClick);

    AddDescription(panel, "Label1", 88, LabelWidth,
                   "Cache Explorer: Keep a permanent record of your favorite sites and delete "
                   "unwanted items from your browser's cache.");
    AddDescription(panel, "Label2", 152, LabelWidth,
                   "Display default index: Show the index page for the items in your current "
                   "default archive directory.");
    AddDescription(panel, "Label3", 216, LabelWidth,
                   "Search offline index: Locate specific items from your archive directories, "
                   "searching by contents of URLs and pages.");
    AddDescription(panel, "Label4", 280, 289,
                   "Change Arkivo properties: Set the archive directory locations and specify "
                   "archive page appearance.");
}

QToolButton* TControlForm::AddPictureButton(QWidget* panel, const char* name, int top,
                                            ButtonGlyph glyph) {
    // The frame around the button, drawn in the button face colour.
    auto* shape = new QFrame(panel);
    shape->setObjectName(QStringLiteral("Shape%1").arg(buttons_.size() + 1));
    shape->setGeometry(ButtonLeft - 1, top - 1, ButtonSize + 2, ButtonSize + 2);
    shape->setStyleSheet(QStringLiteral("QFrame { border: 1px solid %1; }")
                             .arg(palette().color(QPalette::Button).name()));

    auto* button = new QToolButton(panel);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(ButtonLeft, top, ButtonSize, ButtonSize);
    button->setIcon(ButtonGlyphPicture(glyph));
    button->setIconSize(QSize(40, 40));
    button->setFocusPolicy(Qt::StrongFocus);
    button->setMouseTracking(true);
    button->installEventFilter(this);
    buttons_.append(button);
    return button;
}

void TControlForm::AddDescription(QWidget* panel, const char* name, int top, int width,
                                  const char* text) {
    auto* label = new QLabel(FromCoreText(text), panel);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Arial is seldom installed on Linux, and the font that stands in for it may be
    // wider: the text is measured in the font actually used and made smaller only
    // when its lines would not fit the room beside the button.
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    for (int size = DescriptionPixelSize; size >= SmallestDescriptionPixelSize; --size) {
        font.setPixelSize(size);
        label->setFont(font);
        if (label->heightForWidth(width) <= DescriptionRoom) {
            break;
        }
    }
    label->setGeometry(LabelLeft, top, width, DescriptionRoom);
}

void TControlForm::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    QAction* properties = AddMenuItem(file, "Properties1", QStringLiteral("P&roperties"));
    // The keypad's Enter first, so that the menu shows the shortcut as "Alt+Enter".
    properties->setShortcuts(
        {QKeySequence(Qt::ALT | Qt::Key_Enter), QKeySequence(Qt::ALT | Qt::Key_Return)});
    connect(properties, &QAction::triggered, this, &TControlForm::SetupButtonClick);
    AddSeparator(file, "N2");
    connect(AddMenuItem(file, "Exit1", QStringLiteral("E&xit")), &QAction::triggered, this,
            &TControlForm::Exit1Click);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("Setup1"));
    QAction* explorer = AddMenuItem(view, "CacheExplorer1", QStringLiteral("Cache &Explorer"));
    explorer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(explorer, &QAction::triggered, this, &TControlForm::ArkivoButtonClick);
    QAction* index = AddMenuItem(view, "DefaultIndex1", QStringLiteral("&Default Index"));
    index->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(index, &QAction::triggered, this, &TControlForm::ViewButtonClick);
    QAction* search = AddMenuItem(view, "SearchForm1", QStringLiteral("&Search..."));
    search->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(search, &QAction::triggered, this, &TControlForm::SearchButtonClick);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    connect(AddMenuItem(help, "Contents1", QStringLiteral("&Contents")), &QAction::triggered, this,
            &TControlForm::Contents1Click);
    AddSeparator(help, "N1");
    connect(AddMenuItem(help, "About1", QStringLiteral("&About")), &QAction::triggered, this,
            &TControlForm::About1Click);
}

void TControlForm::ArkivoButtonClick() {
    if (!CacheIndexPathIsUsable(edition_, TheProgramValues().CacheIndexPath)) {
        ShowInformation(CacheIndexPathInvalidText);
        SetupButtonClick();
        return;
    }
    while (!cacheItems_.empty()) {
        cacheItems_.pop_back();
    }
    cacheItems_.shrink_to_fit();
    cacheReloadPending_ = true;
    // The Cache Explorer reads the cache when it is next painted with the flag set.
    if (cacheExplorer_ != nullptr) {
        TheModalWindows().ShowModal(*cacheExplorer_);
    }
}

void TControlForm::ViewButtonClick() {
    const std::string path = DefaultIndexPath(*settingsStore_);
    if (FileExists(path)) {
        OpenDocument(path);
    } else {
        ShowInformation(NoDefaultIndexText);
    }
}

void TControlForm::SearchButtonClick() {
    if (showSearchWindow_) {
        showSearchWindow_();
    }
}

void TControlForm::SetupButtonClick() {
    if (prefsForm_ != nullptr) {
        TheModalWindows().ShowModal(*prefsForm_);
    }
}

void TControlForm::Contents1Click() {
    RequestHelpTopic(HelpTopic::MainWindow);
}

void TControlForm::About1Click() {
    TAboutBox aboutBox(this);
    aboutBox.findChild<QLabel*>(QStringLiteral("VersionLabel"))
        ->setText(FromCoreText(VersionText()));
    TheModalWindows().ShowModal(aboutBox);
}

void TControlForm::Exit1Click() {
    QApplication::quit();
}

void TControlForm::ActivateFromAnotherInstance() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void TControlForm::ArkivoButtonMouseMove(QWidget* button) {
    button->setFocus(Qt::MouseFocusReason);
}

bool TControlForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == smallLogo_ && event->type() == QEvent::MouseButtonRelease) {
        About1Click();
        return true;
    }
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button == nullptr || !buttons_.contains(button)) {
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        ArkivoButtonMouseMove(button);
    }
    if (event->type() == QEvent::KeyPress) {
        // Return and the keypad's Enter press the focused button, as Space does.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            button->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TControlForm::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, as File > Exit does, even while the
    // help viewer is open.
    event->accept();
    QApplication::quit();
}

}  // namespace arkivo
