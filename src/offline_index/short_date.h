#pragma once
// The date line of the domain list: today's date in the user's short date format,
// taken from the LC_TIME locale of the environment (as the desktop's regional
// settings set it), without changing the program's global locale.

#include <string>

namespace arkivo {

// The user's short date format as a strftime pattern ("%m/%d/%y" in the C locale).
std::string UserShortDateFormat();

// The calendar date of a day count (platform/clock.h) written with a strftime
// pattern; month and day names, should the pattern ask for them, come from the
// user's LC_TIME locale. The time of day is ignored.
std::string FormatShortDate(double date, const std::string& format);

}  // namespace arkivo
