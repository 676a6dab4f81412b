#include "platform/clock.h"

#include <sys/time.h>

#include <chrono>
#include <cmath>
#include <ctime>

namespace arkivo {
namespace {

std::optional<double> fixedNow;

namespace chrono = std::chrono;

// Day zero of the day count.
constexpr chrono::sys_days DateZero = chrono::year{1899} / 12 / 30;

double DateFromLocalTm(const std::tm& local, int millisecond) {
    DateParts parts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour,        local.tm_min,     local.tm_sec > 59 ? 59 : local.tm_sec,
                    millisecond};
    return EncodeDate(parts).value_or(0.0);
}

constexpr std::int64_t MillisecondsPerDay = 86400000;

}  // namespace

double Now() {
    if (fixedNow) {
        return *fixedNow;
    }
    timeval tv{};
    gettimeofday(&tv, nullptr);
    std::tm local{};
    const std::time_t seconds = tv.tv_sec;
    localtime_r(&seconds, &local);
    return DateFromLocalTm(local, static_cast<int>(tv.tv_usec / 1000));
}

void SetNowForTesting(std::optional<double> date) {
    fixedNow = date;
}

std::optional<double> EncodeDate(const DateParts& p) {
    // The ranges are checked before the calendar types see the values, which keep
    // only a byte of a month or day.
    if (p.Year < 1 || p.Year > 9999 || p.Month < 1 || p.Month > 12 || p.Day < 1 || p.Day > 31 ||
        p.Hour < 0 || p.Hour > 23 || p.Minute < 0 || p.Minute > 59 || p.Second < 0 ||
        p.Second > 59 || p.Millisecond < 0 || p.Millisecond > 999) {
        return std::nullopt;
    }
    const chrono::year_month_day civil{chrono::year{p.Year},
                                       chrono::month{static_cast<unsigned>(p.Month)},
                                       chrono::day{static_cast<unsigned>(p.Day)}};
    if (!civil.ok()) {
        return std::nullopt;
    }
    const auto days = (chrono::sys_days{civil} - DateZero).count();
    const double time =
        ((p.Hour * 60.0 + p.Minute) * 60.0 + p.Second + p.Millisecond / 1000.0) / 86400.0;
    return static_cast<double>(days) + time;
}

DateParts DecodeDate(double date) {
    DateParts parts;
    if (!std::isfinite(date) || std::fabs(date) > 3.0e6) {
        return parts;
    }
    const auto total = static_cast<std::int64_t>(std::llround(date * MillisecondsPerDay));
    std::int64_t days = total / MillisecondsPerDay;
    std::int64_t ms = total % MillisecondsPerDay;
    if (ms < 0) {
        ms += MillisecondsPerDay;
        --days;
    }
    const chrono::year_month_day civil{DateZero + chrono::days{days}};
    parts.Year = static_cast<int>(civil.year());
    parts.Month = static_cast<int>(static_cast<unsigned>(civil.month()));
    parts.Day = static_cast<int>(static_cast<unsigned>(civil.day()));
    parts.Hour = static_cast<int>(ms / 3600000);
    parts.Minute = static_cast<int>(ms / 60000 % 60);
    parts.Second = static_cast<int>(ms / 1000 % 60);
    parts.Millisecond = static_cast<int>(ms % 1000);
    return parts;
}

double LocalDateFromUnixSeconds(std::int64_t seconds) {
    std::tm local{};
    const std::time_t time = static_cast<std::time_t>(seconds);
    if (localtime_r(&time, &local) == nullptr) {
        return 0.0;
    }
    return DateFromLocalTm(local, 0);
}

bool FileTimeToDosDateTime(std::uint64_t fileTime, std::uint16_t& dosDate, std::uint16_t& dosTime) {
    // 100-ns ticks since 1601-01-01 to whole seconds; calendar arithmetic as UTC,
    // so no time-zone shift is applied.
    const std::int64_t seconds = static_cast<std::int64_t>(fileTime / 10000000ULL);
    const std::int64_t days1601 = seconds / 86400;
    const std::int64_t secondOfDay = seconds % 86400;
    const chrono::year_month_day civil{chrono::sys_days{chrono::year{1601} / 1 / 1} +
                                       chrono::days{days1601}};
    const int year = static_cast<int>(civil.year());
    const auto month = static_cast<unsigned>(civil.month());
    const auto day = static_cast<unsigned>(civil.day());
    if (year < 1980 || year > 2107) {
        return false;
    }
    const int hour = static_cast<int>(secondOfDay / 3600);
    const int minute = static_cast<int>(secondOfDay / 60 % 60);
    const int second = static_cast<int>(secondOfDay % 60);
    dosDate = static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
    dosTime = static_cast<std::uint16_t>((hour << 11) | (minute << 5) | (second / 2));
    return true;
}

std::optional<double> DateFromDosDateTime(std::uint16_t dosDate, std::uint16_t dosTime) {
    DateParts parts;
    parts.Year = (dosDate >> 9) + 1980;
    parts.Month = (dosDate >> 5) & 0x0F;
    parts.Day = dosDate & 0x1F;
    parts.Hour = dosTime >> 11;
    parts.Minute = (dosTime >> 5) & 0x3F;
    parts.Second = (dosTime & 0x1F) * 2;
    return EncodeDate(parts);
}

}  // namespace arkivo
