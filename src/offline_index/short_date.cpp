#include "offline_index/short_date.h"

#include <langinfo.h>
#include <locale.h>

#include <cmath>
#include <ctime>

#include "platform/clock.h"

namespace arkivo {
namespace {

constexpr const char* CLocaleShortDate = "%m/%d/%y";

// The user's LC_TIME locale for the lifetime of the object; the C locale when the
// environment names one that is not installed.
class UserTimeLocale {
  public:
    UserTimeLocale() {
        locale_ = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
        if (locale_ == static_cast<locale_t>(0)) {
            locale_ = ::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
        }
    }
    ~UserTimeLocale() {
        if (locale_ != static_cast<locale_t>(0)) {
            ::freelocale(locale_);
        }
    }
    UserTimeLocale(const UserTimeLocale&) = delete;
    UserTimeLocale& operator=(const UserTimeLocale&) = delete;

    bool valid() const { return locale_ != static_cast<locale_t>(0); }
    locale_t get() const { return locale_; }

  private:
    locale_t locale_;
};

}  // namespace

std::string UserShortDateFormat() {
    const UserTimeLocale user;
    if (!user.valid()) {
        return CLocaleShortDate;
    }
    const char* format = ::nl_langinfo_l(D_FMT, user.get());
    return (format != nullptr && *format != '\0') ? format : CLocaleShortDate;
}

std::string FormatShortDate(double date, const std::string& format) {
    const double day = std::floor(date);
    const DateParts parts = DecodeDate(day);
    std::tm calendar{};
    calendar.tm_year = parts.Year - 1900;
    calendar.tm_mon = parts.Month - 1;
    calendar.tm_mday = parts.Day;
    // 1 January 1970 (day count 25569) was a Thursday; strftime counts from Sunday.
    const auto sinceEpoch = static_cast<long long>(day - UnixEpochDate);
    calendar.tm_wday = static_cast<int>(((sinceEpoch % 7) + 7 + 4) % 7);
    const auto newYear = EncodeDate(DateParts{parts.Year, 1, 1});
    calendar.tm_yday = newYear ? static_cast<int>(day - *newYear) : 0;

    const UserTimeLocale user;
    if (!user.valid() || format.empty()) {
        return {};
    }
    char buffer[256];
    const std::size_t length =
        ::strftime_l(buffer, sizeof buffer, format.c_str(), &calendar, user.get());
    return std::string(buffer, length);
}

}  // namespace arkivo
