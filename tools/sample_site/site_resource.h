#pragma once
// One resource of the sample site as a browser fetched it: its URL, the content
// type the server sent, when it was fetched and its bytes.

#include <string>

namespace arkivo::samples {

struct SiteResource {
    std::string url;
    std::string contentType;
    int daysBefore = 0;  // days before the day the samples were taken
    int hour = 0;        // the time of day it was fetched
    int minute = 0;
    std::string content;
};

}  // namespace arkivo::samples
