#pragma once
// news.harbor-town.example: a town newspaper whose front page names its stories
// relative to a BASE address, a "latest story" page that moves on by a META
// refresh, a regatta report with a photograph and a short video, and a ferry
// timetable with the sound of the fog horn.

#include <cmath>
#include <vector>

#include "../icons/canvas.h"
#include "../icons/fonts.h"
#include "avi_writer.h"
#include "jpeg_writer.h"
#include "picture.h"
#include "site_resource.h"
#include "wav_writer.h"

namespace arkivo::samples {
namespace harbor_town {

inline std::string Masthead() {
    using namespace icons;
    Canvas c(140, 24, Hex(0x102A4C));
    DrawPixelText(c, 19, 5, "HARBOR TOWN CRIER", 1, Hex(0xFFFFFF));
    for (int x = 0; x < 140; x += 2) {
        c.Set(x, 18 + (x / 4) % 2, Hex(0x7FBFEF));
    }
    return c.ToGif();
}

// The harbour with a sailing boat whose hull starts at x.
inline std::vector<Layer> HarbourScene(double width, double height, double x) {
    const double sea = height * 0.55;
    return {
        {icons::Rect(0, 0, width, sea),
         icons::VerticalGradient(Hex(0x9CC9F0), Hex(0xE8F4FF), 0, sea)},
        {icons::Rect(0, sea, width, height),
         icons::VerticalGradient(Hex(0x2B6CB0), Hex(0x123E6B), sea, height)},
        {icons::Rect(width * 0.75, sea - height * 0.35, width * 0.82, sea),
         icons::Solid(Hex(0xF2F2F2))},
        {icons::Rect(width * 0.75, sea - height * 0.42, width * 0.82, sea - height * 0.35),
         icons::Solid(Hex(0xC83A2E))},
        {icons::Polygon({{x, sea - 1},
                         {x + width * 0.3, sea - 1},
                         {x + width * 0.25, sea + 3},
                         {x + width * 0.05, sea + 3}}),
         icons::Solid(Hex(0x6B3E1E))},
        {icons::Polygon({{x + width * 0.16, sea - 2},
                         {x + width * 0.16, sea - height * 0.4},
                         {x + width * 0.28, sea - 2}}),
         icons::Solid(Hex(0xFFFFFF))},
    };
}

inline std::string BoatsPhoto() {
    std::vector<Layer> layers = HarbourScene(96, 64, 4);
    const std::vector<Layer> second = HarbourScene(96, 64, 40);
    layers.insert(layers.end(), second.end() - 2, second.end());
    return EncodeJpeg(Render(96, 64, layers));
}

// The boat crossing the harbour in eight frames.
inline std::string HarbourVideo() {
    std::vector<Picture> frames;
    for (int frame = 0; frame < 8; ++frame) {
        frames.push_back(Render(40, 30, HarbourScene(40, 30, -4 + frame * 3.5)));
    }
    return EncodeAvi(frames, 4);
}

// A low two-tone horn that swells and dies away.
inline std::string FogHorn() {
    const double pi = std::acos(-1.0);
    return EncodeWav(8000, 0.8, [pi](double t) {
        const double envelope = std::min(1.0, t / 0.1) * std::min(1.0, (0.8 - t) / 0.25);
        return envelope * (0.6 * std::sin(2 * pi * 110 * t) + 0.3 * std::sin(2 * pi * 220 * t));
    });
}

inline constexpr const char* FrontPage = R"(<HTML>
<HEAD>
<TITLE>Harbor Town Crier - Front Page</TITLE>
<BASE HREF="http://news.harbor-town.example/stories/">
</HEAD>
<BODY BGCOLOR="#FFFFFF" TEXT="#000000">
<IMG SRC="../images/masthead.gif" WIDTH=140 HEIGHT=24 ALT="Harbor Town Crier">
<H3>Saturday Edition</H3>
<UL>
<LI><A HREF="regatta.html">Twelve boats brave the wind at the spring regatta</A>
<LI><A HREF="ferry.html">New summer timetable for the island ferry</A>
<LI><A HREF="../latest.html">The latest story</A>
</UL>
<P>The bulb society will again sell flowers at the harbor fair; see
<A HREF="http://www.tulip-garden.example/">The Tulip Garden</A>.</P>
<HR>
<FONT SIZE=1>Copyright 1997 Harbor Town Crier. Send letters to the editor.</FONT>
</BODY>
</HTML>
)";

inline constexpr const char* Latest = R"(<HTML>
<HEAD>
<TITLE>Latest Story - Harbor Town Crier</TITLE>
<META HTTP-EQUIV="Refresh" CONTENT="3;URL=http://news.harbor-town.example/stories/regatta.html">
</HEAD>
<BODY BGCOLOR="#FFFFFF">
<P>Taking you to today's top story in three seconds. If nothing happens, read
<A HREF="stories/regatta.html">the regatta report</A>.</P>
</BODY>
</HTML>
)";

inline constexpr const char* Regatta = R"(<HTML>
<HEAD><TITLE>Spring Regatta - Harbor Town Crier</TITLE></HEAD>
<BODY BGCOLOR="#FFFFFF">
<IMG SRC="../images/masthead.gif" WIDTH=140 HEIGHT=24 ALT="Harbor Town Crier">
<H2>Twelve boats brave the wind at the spring regatta</H2>
<P><IMG SRC="../images/boats.jpg" WIDTH=96 HEIGHT=64 ALIGN=RIGHT ALT="Boats at the start">
A stiff westerly greeted the twelve crews at the harbor mouth on Saturday. The
<I>Gull</I>, sailed by the Pettersen brothers, led from the first buoy and won by
almost two minutes.</P>
<P>Watch the <A HREF="../media/harbor.avi">finish on video</A> (AVI, 29 KB).</P>
<P><A HREF="../index.html">Front page</A> | <A HREF="ferry.html">Ferry timetable</A></P>
</BODY>
</HTML>
)";

inline constexpr const char* Ferry = R"(<HTML>
<HEAD><TITLE>Island Ferry Timetable - Harbor Town Crier</TITLE></HEAD>
<BODY BGCOLOR="#F0F8FF">
<H2>New summer timetable for the island ferry</H2>
<TABLE BORDER=1>
<TR><TH>Leaves harbor</TH><TH>Leaves island</TH></TR>
<TR><TD>7:15</TD><TD>8:00</TD></TR>
<TR><TD>11:30</TD><TD>12:15</TD></TR>
<TR><TD>17:45</TD><TD>18:30</TD></TR>
</TABLE>
<P>In fog the ferry sounds its horn every two minutes:
<A HREF="../media/foghorn.wav">hear it</A> (WAV, 6 KB).</P>
<P><A HREF="../index.html">Front page</A></P>
</BODY>
</HTML>
)";

}  // namespace harbor_town

inline std::vector<SiteResource> HarborTownResources() {
    using namespace harbor_town;
    const std::string site = "http://news.harbor-town.example/";
    return {
        {site + "index.html", "text/html", 33, 8, 41, FrontPage},
        {site + "images/masthead.gif", "image/gif", 33, 8, 41, Masthead()},
        {site + "stories/ferry.html", "text/html", 33, 8, 44, Ferry},
        {site + "media/foghorn.wav", "audio/x-wav", 33, 8, 45, FogHorn()},
        {site + "latest.html", "text/html", 2, 7, 55, Latest},
        {site + "stories/regatta.html", "text/html", 2, 7, 55, Regatta},
        {site + "images/boats.jpg", "image/jpeg", 2, 7, 55, BoatsPhoto()},
        {site + "media/harbor.avi", "video/x-msvideo", 2, 7, 57, HarbourVideo()},
    };
}

}  // namespace arkivo::samples
