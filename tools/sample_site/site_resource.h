#pragma once
// One resource of the sample site as a browser fetched it: its URL, the content
// type the server sent, when it was fetched and its bytes.

#include <string>

namespace arkivo::samples {

struct SiteResource {
    std::string Url;
    std::string ContentType;
    int DaysBefore = 0;  // days before the day the samples were taken
    int Hour = 0;        // the time of day it was fetched
    int Minute = 0;
    std::string Content;
};

}  // namespace arkivo::samples
