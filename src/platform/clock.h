#pragma once
// Dates are day counts since 30 December 1899 with the time of day as the fraction
// (the OLE Automation convention). They are local wall-clock times: no time-zone
// conversion is made anywhere. "Now" comes from one settable clock so tests can fix it.

#include <cstdint>
#include <optional>

namespace arkivo {

// The day count of 1 January 1970.
inline constexpr double UnixEpochDate = 25569.0;

// The current local date and time, or the date fixed by SetNowForTesting.
double Now();

// Fixes the value Now() gives (std::nullopt returns to the real clock).
void SetNowForTesting(std::optional<double> date);

struct DateParts {
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// Day count of a calendar date and time; std::nullopt when the parts are not a valid
// date between the years 1 and 9999.
std::optional<double> EncodeDate(const DateParts& parts);

// Calendar parts of a day count (rounded to the millisecond).
DateParts DecodeDate(double date);

// The broken-down local time of Unix seconds as a day count.
double LocalDateFromUnixSeconds(std::int64_t seconds);

// MS-DOS (FAT) date and time words of a FILETIME (100-nanosecond ticks since
// 1 January 1601), taken as they are: no time-zone change. False when the time lies
// outside the DOS range (1980 to 2107), as the Windows call refuses those.
bool FileTimeToDosDateTime(std::uint64_t fileTime, std::uint16_t& dosDate, std::uint16_t& dosTime);

// Day count of DOS date and time words; std::nullopt when they name no valid date.
std::optional<double> DateFromDosDateTime(std::uint16_t dosDate, std::uint16_t dosTime);

}  // namespace arkivo
