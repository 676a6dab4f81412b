#include "item_output.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "json_text.h"
#include "model/content_types.h"
#include "platform/clock.h"

namespace arkivo::cli {

std::string IsoDate(double date, char separator) {
    const DateParts parts = DecodeDate(date);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d%c%02d:%02d:%02d", parts.year, parts.month,
                  parts.day, separator, parts.hour, parts.minute, parts.second);
    return text;
}

std::string ItemsAsText(const TCacheItemList& items) {
    using Row = std::array<std::string, 4>;
    std::vector<Row> rows = {{"DATE", "TYPE", "URL", "FILE"}};
    for (const auto& item : items) {
        rows.push_back(
            {IsoDate(item->Date, ' '), ContentTypeOf(item->Kind), item->Url, item->CacheFile});
    }
    std::array<std::size_t, 4> widths{};
    for (const Row& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    std::string out;
    for (const Row& row : rows) {
        for (std::size_t column = 0; column + 1 < row.size(); ++column) {
            out += row[column];
            out += std::string(widths[column] - row[column].size() + 2, ' ');
        }
        out += row.back();
        out += '\n';
    }
    return out;
}

std::string ItemsAsJson(const TCacheItemList& items) {
    std::string out;
    for (const auto& item : items) {
        out += "{\"url\": " + JsonString(item->Url) + ", \"domain\": " + JsonString(item->Domain) +
               ", \"kind\": " + std::to_string(item->Kind) +
               ", \"type\": " + JsonString(ContentTypeOf(item->Kind)) +
               ", \"group\": " + std::to_string(item->Group) +
               ", \"date\": " + JsonString(IsoDate(item->Date, 'T')) +
               ", \"file\": " + JsonString(item->CacheFile) + "}\n";
    }
    return out;
}

}  // namespace arkivo::cli
