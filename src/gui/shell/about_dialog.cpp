#include "gui/shell/about_dialog.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "gui/common/pictures.h"
#include "shell/open_document.h"
#include "shell/version_text.h"

namespace arkivo {
namespace {

// A sunken frame holding a picture, centred.
QLabel* FramedPicture(QWidget* parent, const char* name, const QPixmap& picture,
                      const QRect& geometry) {
    auto* image = new QLabel(parent);
    image->setObjectName(QString::fromLatin1(name));
    image->setFrameShape(QFrame::Panel);
    image->setFrameShadow(QFrame::Sunken);
    image->setAlignment(Qt::AlignCenter);
    image->setPixmap(picture);
    image->setGeometry(geometry);
    return image;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Arkivo"));
    setFixedSize(305, 402);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setGeometry(8, 8, 289, 346);

    FramedPicture(panel, "Image1", AboutBanner(), QRect(12, 12, 265, 96));

    auto* version = new QLabel(panel);
    version->setObjectName(QStringLiteral("VersionLabel"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    version->setFont(font);
    version->setAlignment(Qt::AlignCenter);
    version->setGeometry(12, 118, 265, 20);

    FramedPicture(panel, "Image2", PublisherLogo(), QRect(12, 148, 265, 148));

    auto* visit = new QPushButton(QStringLiteral("Visit the Quenlow Web Site"), panel);
    visit->setObjectName(QStringLiteral("Button2"));
    visit->setAutoDefault(false);
    visit->setGeometry(44, 308, 201, 25);
    connect(visit, &QPushButton::clicked, this, &TAboutBox::Button2Click);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    ok->setGeometry(115, 366, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::Button2Click() {
    OpenDocument(PublisherWebAddress);
}

}  // namespace arkivo
