#pragma once
// The pictures of the windows, drawn here in the colours and shapes of the icons of
// the offline index (resources/images): the blue tile with the white archive box,
// the blue text, green image, purple audio, red video and orange other accents.

#include <QCursor>
#include <QPixmap>

namespace arkivo {

enum class ButtonGlyph {
    CacheExplorer,  // an archive box receiving pages
    DefaultIndex,   // an index page with a kind list
    Search,         // a magnifying glass over a page
    Properties,     // a sheet with check boxes and a slider
};

// The glyph of one of the main window's picture buttons, 40 x 40.
QPixmap ButtonGlyphPicture(ButtonGlyph glyph);

// The product logo: the emblem, "Arkivo" and "OFFLINE WEB ARCHIVE", 200 x 60.
QPixmap ProductLogo();

// The small logo of the main window, 117 x 32.
QPixmap SmallLogo();

// The decorative vertical strip at the main window's left edge, 44 x 500.
QPixmap SideStrip();

// The About box's pictures: the product banner, 250 x 75, and the publisher's
// logo, 197 x 74.
QPixmap AboutBanner();
QPixmap PublisherLogo();

// The pointing hand, 32 x 32, its hot spot at the fingertip.
QCursor HandCursor();

}  // namespace arkivo
