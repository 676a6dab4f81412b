#pragma once
// www.tulip-garden.example: a gardening club's home page in two frames, a bulb
// list, a picture gallery with a photograph and a bird song, and a link to a
// guest book the visitor never opened.

#include <cmath>
#include <vector>

#include "../icons/canvas.h"
#include "../icons/fonts.h"
#include "jpeg_writer.h"
#include "picture.h"
#include "site_resource.h"
#include "wav_writer.h"

namespace arkivo::samples {
namespace tulip_garden {

inline std::string Logo() {
    using namespace icons;
    Canvas c(120, 32, Hex(0xFFF8DC));
    c.Fill(Rect(15, 14, 17, 30), Hex(0x2E7D32));
    c.Fill(Ellipse(20, 22, 5, 2), Hex(0x3A9D3A));
    c.Fill(Polygon({{9, 6}, {12, 2}, {16, 7}, {20, 2}, {23, 6}, {22, 13}, {16, 16}, {10, 13}}),
           Hex(0xD32F2F));
    DrawPixelText(c, 32, 6, "THE TULIP", 1, Hex(0x8B1A1A));
    DrawPixelText(c, 32, 18, "GARDEN", 1, Hex(0x2E7D32));
    return c.ToGif();
}

inline std::string Bullet() {
    using namespace icons;
    Canvas c(12, 12, Hex(0xFFFFFF));
    c.Fill(Circle(6, 6, 5), Hex(0xD32F2F));
    c.Fill(Circle(4.5, 4.5, 1.5), Hex(0xFFB3B3));
    return c.ToGif();
}

inline std::string TulipPhoto() {
    std::vector<Layer> layers = {
        {icons::Rect(0, 0, 96, 64), icons::VerticalGradient(Hex(0x5B9BD5), Hex(0xDDEEFF), 0, 30)},
        {icons::Ellipse(80, 10, 6, 6), icons::Solid(Hex(0xFFF2A8))},
        {icons::Rect(0, 30, 96, 64), icons::VerticalGradient(Hex(0x6BAF4B), Hex(0x2F6B22), 30, 64)},
        {icons::Polygon({{0, 30}, {18, 24}, {40, 30}}), icons::Solid(Hex(0x7A8FA6))},
    };
    const unsigned colours[] = {0xD32F2F, 0xF4C430, 0xE75480, 0xD32F2F, 0xFF8C00};
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; i < 8; ++i) {
            const double x = 6 + i * 12 + row * 4, y = 38 + row * 9, size = 2.2 + row * 0.8;
            layers.push_back(
                {icons::Rect(x - 0.5, y, x + 0.5, y + 3 * size), icons::Solid(Hex(0x1F5F1A))});
            layers.push_back({icons::Ellipse(x, y, size, size * 1.3),
                              icons::Solid(Hex(colours[(i + row) % 5]))});
        }
    }
    return EncodeJpeg(Render(96, 64, layers));
}

// Three rising chirps with a trill between them.
inline std::string BirdSong() {
    const double pi = std::acos(-1.0);
    return EncodeWav(8000, 0.6, [pi](double t) {
        const double chirp = std::fmod(t, 0.2);
        const double frequency = 1400 + 9000 * chirp;
        const double envelope = chirp < 0.12 ? std::sin(pi * chirp / 0.12) : 0.0;
        return 0.8 * envelope * std::sin(2 * pi * frequency * chirp);
    });
}

inline constexpr const char* Frameset = R"(<HTML>
<HEAD>
<TITLE>The Tulip Garden - Home of the Linden Lane Bulb Society</TITLE>
</HEAD>
<FRAMESET COLS="160,*" BORDER=0>
<FRAME SRC="menu.html" NAME="menu" SCROLLING=NO>
<FRAME SRC="welcome.html" NAME="main">
<NOFRAMES>
<BODY>
Your browser does not support frames. Please visit our
<A HREF="welcome.html">welcome page</A>.
</BODY>
</NOFRAMES>
</FRAMESET>
</HTML>
)";

inline constexpr const char* Menu = R"(<HTML>
<HEAD><TITLE>Tulip Garden Menu</TITLE></HEAD>
<BODY BGCOLOR="#FFF8DC" LINK="#8B1A1A" VLINK="#2E7D32">
<A HREF="welcome.html" TARGET="main"><IMG SRC="images/logo.gif" WIDTH=120 HEIGHT=32 BORDER=0 ALT="The Tulip Garden"></A>
<P>
<IMG SRC="images/bullet.gif" WIDTH=12 HEIGHT=12> <A HREF="welcome.html" TARGET="main">Welcome</A><BR>
<IMG SRC="images/bullet.gif" WIDTH=12 HEIGHT=12> <A HREF="bulbs.html" TARGET="main">Our Bulbs</A><BR>
<IMG SRC="images/bullet.gif" WIDTH=12 HEIGHT=12> <A HREF="gallery.html" TARGET="main">Gallery</A><BR>
<IMG SRC="images/bullet.gif" WIDTH=12 HEIGHT=12> <A HREF="guestbook.html" TARGET="main">Guest Book</A><BR>
<P>
<FONT SIZE=1>Friends:<BR>
<A HREF="http://news.harbor-town.example/index.html" TARGET="_top">Harbor Town Crier</A><BR>
<A HREF="http://files.old-mirror.example/pub/" TARGET="_top">Old Mirror files</A></FONT>
</BODY>
</HTML>
)";

inline constexpr const char* Welcome = R"(<HTML>
<HEAD><TITLE>Welcome to The Tulip Garden</TITLE></HEAD>
<BODY BGCOLOR="#FFFFFF">
<CENTER>
<IMG SRC="images/logo.gif" WIDTH=120 HEIGHT=32 ALT="The Tulip Garden">
<H1>Welcome!</H1>
</CENTER>
<P>The Linden Lane Bulb Society meets every second Tuesday in the back room of
the public library. This spring our members planted more than 4,000 bulbs along
the river path.</P>
<P>See the <A HREF="bulbs.html">bulbs we grow</A>, look at our
<A HREF="gallery.html">picture gallery</A>, or sign our
<A HREF="guestbook.html">guest book</A>.</P>
<P>Our planting guide can be downloaded from the
<A HREF="http://files.old-mirror.example/pub/garden/planting.zip">Old Mirror file archive</A>
(ZIP, 1 KB). Read about our stand at the harbor fair in the
<A HREF="http://news.harbor-town.example/index.html">Harbor Town Crier</A>.</P>
<HR>
<FONT SIZE=2><I>Last updated: March 14, 1997. You are visitor number 01742.</I></FONT>
</BODY>
</HTML>
)";

inline constexpr const char* Bulbs = R"(<HTML>
<HEAD><TITLE>Our Bulbs - The Tulip Garden</TITLE></HEAD>
<BODY BGCOLOR="#FFFFFF">
<H2>Bulbs We Grow</H2>
<TABLE BORDER=1 CELLPADDING=4>
<TR><TH>Variety</TH><TH>Colour</TH><TH>Blooms</TH></TR>
<TR><TD>Apeldoorn</TD><TD>red</TD><TD>April</TD></TR>
<TR><TD>Golden Parade</TD><TD>yellow</TD><TD>late April</TD></TR>
<TR><TD>Pink Impression</TD><TD>pink</TD><TD>May</TD></TR>
<TR><TD>Orange Emperor</TD><TD>orange</TD><TD>early April</TD></TR>
</TABLE>
<P><IMG SRC="images/tulips.jpg" WIDTH=96 HEIGHT=64 ALT="Tulips by the river" ALIGN=LEFT>
Plant bulbs in October, about three times as deep as the bulb is tall. Our
<A HREF="http://files.old-mirror.example/pub/garden/planting.zip">planting guide</A>
has a calendar for the whole year.</P>
<BR CLEAR=ALL>
<A HREF="welcome.html">Back to the welcome page</A>
</BODY>
</HTML>
)";

inline constexpr const char* Gallery = R"(<HTML>
<HEAD><TITLE>Gallery - The Tulip Garden</TITLE></HEAD>
<BODY BGCOLOR="#FFF8DC">
<H2>Picture Gallery</H2>
<TABLE BORDER=0 CELLSPACING=8>
<TR>
<TD><A HREF="images/tulips.jpg"><IMG SRC="images/tulips.jpg" WIDTH=96 HEIGHT=64 BORDER=1></A><BR>The river path in April</TD>
<TD><A HREF="http://news.harbor-town.example/images/boats.jpg"><IMG SRC="http://news.harbor-town.example/images/boats.jpg" WIDTH=96 HEIGHT=64 BORDER=1></A><BR>Our stand at the harbor fair</TD>
</TR>
</TABLE>
<P>Listen to the <A HREF="sounds/birdsong.wav">blackbird in the garden</A> (WAV, 5 KB).</P>
<A HREF="welcome.html">Back to the welcome page</A>
</BODY>
</HTML>
)";

}  // namespace tulip_garden

inline std::vector<SiteResource> TulipGardenResources() {
    using namespace tulip_garden;
    const std::string site = "http://www.tulip-garden.example/";
    return {
        {site, "text/html", 52, 19, 12, Frameset},
        {site + "menu.html", "text/html", 52, 19, 12, Menu},
        {site + "welcome.html", "text/html", 52, 19, 12, Welcome},
        {site + "images/logo.gif", "image/gif", 52, 19, 12, Logo()},
        {site + "images/bullet.gif", "image/gif", 52, 19, 12, Bullet()},
        {site + "bulbs.html", "text/html", 52, 19, 14, Bulbs},
        {site + "images/tulips.jpg", "image/jpeg", 10, 20, 31, TulipPhoto()},
        {site + "gallery.html", "text/html", 10, 20, 31, Gallery},
        {site + "sounds/birdsong.wav", "audio/x-wav", 10, 20, 33, BirdSong()},
    };
}

}  // namespace arkivo::samples
