#include "gui/common/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace arkivo {
namespace {

const QColor TextAccent(0x2F6DB5), ImageAccent(0x3A9D3A), AudioAccent(0x7B4FB8),
    VideoAccent(0xC83A2E), OtherAccent(0xD08A1C);
const QColor TileLight(0x4A8BE0), TileDark(0x1F4E9A), Edge(0x5A6B7D), Fold(0xC9D3DE);
const QColor NameLight(0x2A5298), NameDark(0x15305F), Caption(0x5B7BA8);

QPixmap Transparent(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QLinearGradient Vertical(qreal top, qreal bottom, const QColor& from, const QColor& to) {
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

// The emblem of the banner: a white archive box on a blue tile, size across.
void DrawEmblem(QPainter& p, qreal left, qreal top, qreal size) {
    const qreal u = size / 56;
    const QBrush tile = Vertical(top, top + size, TileLight, TileDark);
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(left, top, size, size), 11 * u, 11 * u);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(left + 9 * u, top + 12 * u, 38 * u, 9 * u), 2.5 * u, 2.5 * u);
    p.drawRoundedRect(QRectF(left + 12 * u, top + 23 * u, 32 * u, 23 * u), 2 * u, 2 * u);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(left + 21.5 * u, top + 27 * u, 13 * u, 4.5 * u), 2.2 * u, 2.2 * u);
}

// A page with a folded corner and lines of text in ink.
void DrawPage(QPainter& p, const QRectF& page, const QColor& ink, int lines) {
    const qreal fold = page.width() * 0.3;
    QPainterPath outline;
    outline.moveTo(page.topLeft());
    outline.lineTo(page.right() - fold, page.top());
    outline.lineTo(page.right(), page.top() + fold);
    outline.lineTo(page.bottomRight());
    outline.lineTo(page.bottomLeft());
    outline.closeSubpath();
    p.setPen(QPen(Edge, 1));
    p.setBrush(Qt::white);
    p.drawPath(outline);
    QPainterPath corner;
    corner.moveTo(page.right() - fold, page.top());
    corner.lineTo(page.right() - fold, page.top() + fold);
    corner.lineTo(page.right(), page.top() + fold);
    corner.closeSubpath();
    p.setBrush(Fold);
    p.drawPath(corner);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const qreal step = (page.height() - fold - 4) / (lines + 1);
    for (int line = 0; line < lines; ++line) {
        const qreal y = page.top() + fold + 2 + step * line;
        const qreal right = line == lines - 1 ? page.center().x() : page.right() - 3;
        p.drawRect(QRectF(page.left() + 3, y, right - page.left() - 3, 1.6));
    }
}

void DrawCacheExplorerGlyph(QPainter& p) {
    p.save();
    p.translate(20, 9);
    p.rotate(-12);
    DrawPage(p, QRectF(-14, -8, 17, 22), ImageAccent, 3);
    p.restore();
    DrawPage(p, QRectF(16, 1, 17, 22), TextAccent, 4);
    DrawEmblem(p, 5, 14, 26);
}

void DrawDefaultIndexGlyph(QPainter& p) {
    DrawPage(p, QRectF(6, 2, 28, 36), Fold, 0);
    const QColor kinds[] = {TextAccent, ImageAccent, AudioAccent, VideoAccent, OtherAccent};
    qreal y = 12;
    for (const QColor& kind : kinds) {
        p.setPen(Qt::NoPen);
        p.setBrush(kind);
        p.drawRoundedRect(QRectF(10, y, 5, 4), 1, 1);
        p.setBrush(Edge);
        p.drawRect(QRectF(17, y + 1.2, 13 - (y > 24 ? 4 : 0), 1.6));
        y += 5;
    }
}

void DrawSearchGlyph(QPainter& p) {
    DrawPage(p, QRectF(4, 2, 24, 31), TextAccent, 5);
    p.setPen(QPen(Edge, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(29, 29), QPointF(36, 36));
    p.setPen(QPen(Edge, 2.5));
    p.setBrush(QColor(0xDDEBFA));
    p.drawEllipse(QPointF(23, 23), 8, 8);
    p.setPen(QPen(Qt::white, 1.5));
    p.drawArc(QRectF(18, 18, 10, 10), 100 * 16, 70 * 16);
}

void DrawPropertiesGlyph(QPainter& p) {
    p.setPen(QPen(Edge, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(4.5, 3.5, 31, 33), 2, 2);
    p.setBrush(QColor(0xE4EBF3));
    p.drawRect(QRectF(4.5, 3.5, 31, 5));
    for (int row = 0; row < 3; ++row) {
        const qreal y = 12 + row * 7;
        p.setPen(QPen(Edge, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8.5, y + 0.5, 5, 5));
        if (row != 1) {
            p.setPen(QPen(ImageAccent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(QPolygonF({{9.5, y + 2.5}, {11, y + 4}, {14.5, y - 1}}));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(TextAccent);
        p.drawRect(QRectF(16, y + 2.2, 15 - row * 3, 1.6));
    }
    p.setBrush(Edge);
    p.drawRect(QRectF(9, 32, 22, 1.5));
    p.setPen(QPen(Edge, 1));
    p.setBrush(OtherAccent);
    p.drawRoundedRect(QRectF(20.5, 29.5, 5, 6), 1, 1);
}

void DrawName(QPainter& p, const QPointF& baseline, int pixelSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    QPainterPath name;
    name.addText(baseline, font, QStringLiteral("Arkivo"));
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(baseline.y() - pixelSize * 0.75, baseline.y(), NameLight, NameDark));
    p.drawPath(name);
}

void DrawCaption(QPainter& p, const QPointF& baseline, int pixelSize, const QString& text,
                 const QColor& colour) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, pixelSize / 8.0);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(baseline, text);
}

QPixmap Banner(int width, int height) {
    QPixmap pixmap = Transparent(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(width / 250.0, height / 75.0);
    DrawEmblem(p, 8, 9, 56);
    DrawName(p, QPointF(77, 45), 38);
    DrawCaption(p, QPointF(79, 61), 10, QStringLiteral("OFFLINE WEB ARCHIVE"), Caption);
    return pixmap;
}

}  // namespace

QPixmap ButtonGlyphPicture(ButtonGlyph glyph) {
    QPixmap pixmap = Transparent(40, 40);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
        case ButtonGlyph::CacheExplorer:
            DrawCacheExplorerGlyph(p);
            break;
        case ButtonGlyph::DefaultIndex:
            DrawDefaultIndexGlyph(p);
            break;
        case ButtonGlyph::Search:
            DrawSearchGlyph(p);
            break;
        case ButtonGlyph::Properties:
            DrawPropertiesGlyph(p);
            break;
    }
    return pixmap;
}

QPixmap ProductLogo() {
    return Banner(200, 60);
}

QPixmap AboutBanner() {
    return Banner(250, 75);
}

QPixmap SmallLogo() {
    QPixmap pixmap = Transparent(117, 32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawEmblem(p, 2, 3, 26);
    DrawName(p, QPointF(33, 20), 17);
    DrawCaption(p, QPointF(34, 29), 7, QStringLiteral("ABOUT ARKIVO"), Caption);
    return pixmap;
}

QPixmap SideStrip() {
    QPixmap pixmap(44, 500);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(pixmap.rect(), Vertical(0, 500, TileLight, TileDark));
    p.fillRect(QRectF(42, 0, 2, 500), QColor(255, 255, 255, 90));
    // Faint archive boxes down the strip, one per kind accent.
    const QColor kinds[] = {TextAccent, ImageAccent, AudioAccent, VideoAccent, OtherAccent};
    for (int i = 0; i < 10; ++i) {
        const qreal top = 30 + i * 46;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 60));
        p.drawRoundedRect(QRectF(9, top, 24, 6), 1.5, 1.5);
        p.drawRoundedRect(QRectF(11, top + 7, 20, 15), 1.5, 1.5);
        QColor accent = kinds[i % 5];
        accent.setAlpha(160);
        p.setBrush(accent);
        p.drawRoundedRect(QRectF(17, top + 10, 8, 3), 1.2, 1.2);
    }
    return pixmap;
}

QPixmap PublisherLogo() {
    QPixmap pixmap = Transparent(197, 74);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(34);
    font.setBold(true);
    QPainterPath first, rest;
    first.addText(QPointF(10, 44), font, QStringLiteral("Q"));
    const qreal restLeft = 10 + QFontMetricsF(font).horizontalAdvance(QStringLiteral("Q"));
    rest.addText(QPointF(restLeft, 44), font, QStringLiteral("uenlow"));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE8731E));
    p.drawPath(first);
    p.setBrush(QColor(0x3A3F47));
    p.drawPath(rest);
    const qreal right = restLeft + QFontMetricsF(font).horizontalAdvance(QStringLiteral("uenlow"));
    p.setBrush(QColor(0xE8731E));
    p.drawRoundedRect(QRectF(10, 52, right - 80, 2.5), 1.2, 1.2);
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(10);
    small.setBold(true);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(small);
    p.setPen(QColor(0x6B7280));
    const qreal wordWidth = QFontMetricsF(small).horizontalAdvance(QStringLiteral("SOFTWARE"));
    p.drawText(QPointF(right - wordWidth, 58), QStringLiteral("SOFTWARE"));
    return pixmap;
}

QCursor HandCursor() {
    QPixmap pixmap = Transparent(32, 32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // The index finger points up; the hot spot is its tip.
    QPainterPath hand;
    hand.moveTo(8, 2.5);
    hand.cubicTo(8, 0.5, 12, 0.5, 12, 2.5);
    hand.lineTo(12, 11);
    hand.cubicTo(12, 9.5, 16, 9.5, 16, 11.5);
    hand.cubicTo(16, 10, 20, 10, 20, 12.5);
    hand.cubicTo(20, 11, 24, 11, 24, 13.5);
    hand.lineTo(24, 20);
    hand.cubicTo(24, 24, 22, 26, 21, 28);
    hand.lineTo(10, 28);
    hand.cubicTo(8, 25, 4, 21, 2.5, 17.5);
    hand.cubicTo(1.5, 15.5, 3.5, 13.5, 5.5, 15);
    hand.lineTo(8, 17.5);
    hand.closeSubpath();
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setPen(QPen(Qt::black, 1));
    for (const qreal x : {12.0, 16.0, 20.0}) {
        p.drawLine(QPointF(x, 13), QPointF(x, 18));
    }
    p.fillRect(QRectF(10, 28, 11, 3), Qt::black);
    return QCursor(pixmap, 10, 1);
}

}  // namespace arkivo
