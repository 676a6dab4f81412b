#include "webarchive/stored_response.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

#include "model/url.h"

namespace arkivo {
namespace {

// "HTTP/" digits and dots, a space, three digits, then the end or a space.
bool ParseStatusLine(std::string_view line, int& status) {
    if (line.substr(0, 5) != "HTTP/") {
        return false;
    }
    std::size_t at = 5;
    while (at < line.size() &&
           (std::isdigit(static_cast<unsigned char>(line[at])) != 0 || line[at] == '.')) {
        ++at;
    }
    if (at == 5 || at + 4 > line.size() || line[at] != ' ') {
        return false;
    }
    // Three digits: a sign or a blank is no status code.
    const std::string_view code = line.substr(at + 1, 3);
    if (!std::all_of(code.begin(), code.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
        return false;
    }
    std::from_chars(code.data(), code.data() + 3, status);
    return line.size() == at + 4 || line[at + 4] == ' ';
}

// A header name: visible ASCII other than the separators HTTP forbids in a token.
bool IsHeaderName(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F ||
            std::string_view("()<>@,;:\\\"/[]?={}").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

// Control bytes other than tab cannot stand in a header value.
std::string CleanValue(std::string_view value) {
    std::string clean(value);
    for (char& c : clean) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
            c = ' ';
        }
    }
    return clean;
}

bool StartsAsEncoded(std::string_view encoding, std::string_view body) {
    if (EqualsNoCase(encoding, "gzip") || EqualsNoCase(encoding, "x-gzip")) {
        return body.size() >= 2 && static_cast<unsigned char>(body[0]) == 0x1F &&
               static_cast<unsigned char>(body[1]) == 0x8B;
    }
    if (EqualsNoCase(encoding, "deflate")) {
        // A zlib stream: deflate method and a header that checks.
        if (body.size() < 2) {
            return false;
        }
        const auto first = static_cast<unsigned char>(body[0]);
        const auto second = static_cast<unsigned char>(body[1]);
        return (first & 0x0F) == 8 && ((first << 8) | second) % 31 == 0;
    }
    return true;  // other codings cannot be told from their bytes: kept as they are
}

struct HeaderLine {
    std::string Name;
    std::string Value;
};

// The header lines after the status line, up to the empty line that ends them;
// lines the browser added ("~U:...") and lines that are no header are dropped, and
// a folded line continues the header before it.
std::vector<HeaderLine> HeaderLines(std::string_view text) {
    std::vector<HeaderLine> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            break;
        }
        if (line.front() == ' ' || line.front() == '\t') {
            if (!lines.empty()) {
                lines.back().Value.append(" ").append(CleanValue(TrimBlanks(line)));
            }
            continue;
        }
        const std::size_t colon = line.find(':');
        if (line.front() == '~' || colon == std::string_view::npos ||
            !IsHeaderName(line.substr(0, colon))) {
            continue;
        }
        lines.push_back(
            {std::string(line.substr(0, colon)), CleanValue(TrimBlanks(line.substr(colon + 1)))});
    }
    return lines;
}

}  // namespace

StoredResponse ReadStoredResponse(std::string_view headerText, std::uint64_t bodySize,
                                  std::string_view bodyStart) {
    StoredResponse response;
    const std::size_t statusEnd = headerText.find('\n');
    std::string_view statusLine = headerText.substr(0, statusEnd);
    if (!statusLine.empty() && statusLine.back() == '\r') {
        statusLine.remove_suffix(1);
    }
    if (!ParseStatusLine(statusLine, response.Status)) {
        return response;
    }
    response.HasStatusLine = true;
    response.Head = CleanValue(statusLine) + "\r\n";
    const std::string_view rest =
        statusEnd == std::string_view::npos ? std::string_view() : headerText.substr(statusEnd + 1);
    for (HeaderLine& line : HeaderLines(rest)) {
        bool stale = EqualsNoCase(line.Name, "Transfer-Encoding");
        if (EqualsNoCase(line.Name, "Content-Length")) {
            stale = line.Value != std::to_string(bodySize);
        } else if (EqualsNoCase(line.Name, "Content-Encoding")) {
            stale = !StartsAsEncoded(line.Value, bodyStart);
        } else if (EqualsNoCase(line.Name, "Content-Type") && response.ContentType.empty()) {
            response.ContentType = line.Value;
        }
        if (stale) {
            line.Name.insert(0, OriginalHeaderPrefix);
        }
        response.Head.append(line.Name).append(": ").append(line.Value).append("\r\n");
    }
    response.Head += "\r\n";
    return response;
}

}  // namespace arkivo
