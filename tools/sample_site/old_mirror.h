#pragma once
// files.old-mirror.example: a file archive served over HTTP, with its directory
// listing, a read-me text and the bulb society's planting guide as a ZIP archive.

#include <vector>

#include "site_resource.h"
#include "zip_writer.h"

namespace arkivo::samples {
namespace old_mirror {

inline constexpr const char* Listing = R"(<HTML>
<HEAD><TITLE>Index of /pub</TITLE></HEAD>
<BODY>
<H1>Index of /pub</H1>
<PRE>
<A HREF="/">Parent Directory</A>
<A HREF="README.TXT">README.TXT</A>              02-Feb-97 10:12     1k
<A HREF="garden/planting.zip">garden/planting.zip</A>     14-Mar-97 18:40     1k
</PRE>
<HR>
<ADDRESS>Old Mirror file archive, maintained by volunteers</ADDRESS>
</BODY>
</HTML>
)";

inline constexpr const char* ReadMe =
    "OLD MIRROR FILE ARCHIVE\r\n"
    "=======================\r\n"
    "\r\n"
    "This server keeps copies of small files for clubs and societies in the\r\n"
    "county. Please download outside office hours (9:00 - 17:00) if you can.\r\n"
    "\r\n"
    "  /pub/garden   planting guides of the Linden Lane Bulb Society\r\n"
    "\r\n"
    "Questions to the archive keepers at the public library.\r\n";

inline std::string PlantingGuide() {
    const std::string guide =
        "PLANTING GUIDE - LINDEN LANE BULB SOCIETY\r\n"
        "\r\n"
        "1. Choose firm bulbs without mould or soft spots.\r\n"
        "2. Plant in a sunny spot with soil that drains well.\r\n"
        "3. Set each bulb pointed end up, three times as deep as it is tall.\r\n"
        "4. Water once after planting, then leave them until spring.\r\n"
        "5. After flowering, let the leaves die back before cutting them.\r\n";
    const std::string calendar =
        "BULB CALENDAR\r\n"
        "\r\n"
        "September  order bulbs, prepare the beds\r\n"
        "October    plant tulips and daffodils\r\n"
        "November   cover the beds with leaves\r\n"
        "March      remove the cover, watch for slugs\r\n"
        "April      tulip time - visit the river path!\r\n"
        "June       lift and dry the bulbs you want to keep\r\n";
    return EncodeZip({{"PLANTING.TXT", guide}, {"CALENDAR.TXT", calendar}},
                     {1997, 3, 14, 18, 40, 0, 0});
}

}  // namespace old_mirror

inline std::vector<SiteResource> OldMirrorResources() {
    using namespace old_mirror;
    const std::string site = "http://files.old-mirror.example/pub/";
    return {
        {site, "text/html", 24, 21, 3, Listing},
        {site + "README.TXT", "text/plain", 24, 21, 4, ReadMe},
        {site + "garden/planting.zip", "application/zip", 17, 13, 26, PlantingGuide()},
    };
}

}  // namespace arkivo::samples
