#pragma once
// The settings that shape rewritten pages: what a link to a page that was not
// archived points at, and how links are marked. The emphasis tags are tag texts
// without angle brackets ("B" and "/B" for bold face); an empty one is not written.

#include <string>

namespace arkivo {

struct LinkOptions {
    bool ShowOriginalUrls = true;  // unarchived links point at their web address
    bool EmphasizeLinks = false;   // links to archived pages are wrapped in the emphasis tags
    bool StrikeoutLinks = true;    // links to unarchived pages are wrapped in <STRIKE>
    std::string ActiveEmphasizeTag = "B";
    std::string ActiveDeEmphasizeTag = "/B";
};

}  // namespace arkivo
