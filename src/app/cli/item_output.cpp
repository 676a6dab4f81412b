#include "item_output.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>
#include <string_view>
#include <vector>

#include "console.h"
#include "model/content_types.h"
#include "platform/clock.h"
#include "platform/json_text.h"

namespace arkivo::cli {

namespace {

// Appends value as printf's "%0<width>d" writes it: zeros fill up to width
// characters, a minus sign counted.
void AppendPadded(std::string& out, int value, int width) {
    char digits[16];
    const char* end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    const std::string_view text(digits, static_cast<std::size_t>(end - digits));
    const std::string_view number = value < 0 ? text.substr(1) : text;
    if (value < 0) {
        out += '-';
    }
    const auto shown = static_cast<int>(text.size());
    out.append(static_cast<std::size_t>(shown < width ? width - shown : 0), '0');
    out += number;
}

// IsoDate appended to out, without formatting through printf: the items command
// writes one for every item.
void AppendIsoDate(std::string& out, double date, char separator) {
    const DateParts parts = DecodeDate(date);
    AppendPadded(out, parts.Year, 4);
    out += '-';
    AppendPadded(out, parts.Month, 2);
    out += '-';
    AppendPadded(out, parts.Day, 2);
    out += separator;
    AppendPadded(out, parts.Hour, 2);
    out += ':';
    AppendPadded(out, parts.Minute, 2);
    out += ':';
    AppendPadded(out, parts.Second, 2);
}

}  // namespace

std::string IsoDate(double date, char separator) {
    std::string text;
    AppendIsoDate(text, date, separator);
    return text;
}

std::string ItemsAsText(const TCacheItemList& items) {
    using Row = std::array<std::string, 4>;
    std::vector<Row> rows = {{"DATE", "TYPE", "URL", "FILE"}};
    for (const auto& item : items) {
        rows.push_back({IsoDate(item->Date, ' '), PrintableText(ContentTypeOf(item->Kind)),
                        PrintableText(item->Url), PrintableText(item->CacheFile)});
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
    // Sized up front: the output of a large cache runs to megabytes.
    constexpr std::size_t FixedPartSize = 160;
    std::size_t size = 0;
    for (const auto& item : items) {
        size += FixedPartSize + item->Url.size() + item->Domain.size() + item->CacheFile.size();
    }
    std::string out;
    out.reserve(size);
    for (const auto& item : items) {
        out += "{\"url\": ";
        AppendJsonString(out, item->Url);
        out += ", \"domain\": ";
        AppendJsonString(out, item->Domain);
        out += ", \"kind\": ";
        out += std::to_string(item->Kind);
        out += ", \"type\": ";
        AppendJsonString(out, ContentTypeOf(item->Kind));
        out += ", \"group\": ";
        out += std::to_string(item->Group);
        out += ", \"date\": \"";  // a date needs no escapes
        AppendIsoDate(out, item->Date, 'T');
        out += "\", \"file\": ";
        AppendJsonString(out, item->CacheFile);
        out += "}\n";
    }
    return out;
}

}  // namespace arkivo::cli
