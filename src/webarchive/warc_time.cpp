#include "webarchive/warc_time.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace arkivo {
namespace {

constexpr std::int64_t FirstSecond = -62135596800;  // 0001-01-01T00:00:00Z
constexpr std::int64_t LastSecond = 253402300799;   // 9999-12-31T23:59:59Z

std::tm UtcParts(std::int64_t seconds) {
    const auto held = static_cast<std::time_t>(std::clamp(seconds, FirstSecond, LastSecond));
    std::tm parts{};
    gmtime_r(&held, &parts);
    return parts;
}

std::string Formatted(std::int64_t seconds, const char* format) {
    const std::tm parts = UtcParts(seconds);
    char text[32];
    std::snprintf(text, sizeof text, format, parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                  parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}

}  // namespace

std::string WarcDate(std::int64_t seconds) {
    return Formatted(seconds, "%04d-%02d-%02dT%02d:%02d:%02dZ");
}

std::string CdxTimestamp(std::int64_t seconds) {
    return Formatted(seconds, "%04d%02d%02d%02d%02d%02d");
}

}  // namespace arkivo
