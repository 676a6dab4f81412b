#include "webarchive/cdxj.h"

#include <algorithm>
#include <cctype>

#include "model/url.h"
#include "platform/json_text.h"
#include "webarchive/warc_time.h"

namespace arkivo {
namespace {

// Drops "www" and any digits before the first dot, as the keys' convention does.
std::string_view WithoutWww(std::string_view host) {
    if (host.substr(0, 3) != "www") {
        return host;
    }
    std::size_t at = 3;
    while (at < host.size() && std::isdigit(static_cast<unsigned char>(host[at])) != 0) {
        ++at;
    }
    return at < host.size() && host[at] == '.' ? host.substr(at + 1) : host;
}

std::string ReversedLabels(std::string_view host) {
    std::string reversed;
    while (!host.empty()) {
        const std::size_t dot = host.rfind('.');
        const std::string_view label = dot == std::string_view::npos ? host : host.substr(dot + 1);
        if (!reversed.empty()) {
            reversed += ',';
        }
        reversed.append(label);
        host = dot == std::string_view::npos ? std::string_view() : host.substr(0, dot);
    }
    return reversed;
}

std::string SortedQuery(std::string_view query) {
    std::vector<std::string_view> arguments;
    while (true) {
        const std::size_t amp = query.find('&');
        arguments.push_back(query.substr(0, amp));
        if (amp == std::string_view::npos) {
            break;
        }
        query.remove_prefix(amp + 1);
    }
    std::sort(arguments.begin(), arguments.end());
    std::string sorted;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) {
            sorted += '&';
        }
        sorted.append(arguments[i]);
    }
    return sorted;
}

}  // namespace

std::string SurtKey(std::string_view url) {
    std::string_view rest = url;
    std::string_view defaultPort;
    if (rest.substr(0, 7) == "http://") {
        rest.remove_prefix(7);
        defaultPort = "80";
    } else if (rest.substr(0, 8) == "https://") {
        rest.remove_prefix(8);
        defaultPort = "443";
    } else {
        return std::string(url);
    }
    // Only a lower-case "www" is dropped, and before the rest is lower-cased.
    rest = WithoutWww(rest);
    const std::string lower = LowerCase(rest.substr(0, rest.find('#')));
    rest = lower;
    const std::size_t authorityEnd = rest.find_first_of("/?");
    std::string_view authority = rest.substr(0, authorityEnd);
    rest = authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    std::string_view port;
    if (const std::size_t colon = authority.rfind(':');
        colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos) {
        port = authority.substr(colon + 1);
        authority = authority.substr(0, colon);
    }
    std::string key = ReversedLabels(authority);
    if (!port.empty() && port != defaultPort) {
        key.append(":").append(port);
    }
    key += ')';
    const std::size_t question = rest.find('?');
    const std::string_view path = rest.substr(0, question);
    key.append(path.empty() ? "/" : path);
    if (question != std::string_view::npos && question + 1 < rest.size()) {
        key.append("?").append(SortedQuery(rest.substr(question + 1)));
    }
    return key;
}

std::string CdxjLine(const CdxjEntry& entry) {
    std::string line = SurtKey(entry.Url);
    line.append(" ").append(CdxTimestamp(entry.Time)).append(" {\"url\":");
    AppendJsonString(line, entry.Url);
    line += ",\"mime\":";
    AppendJsonString(line, entry.Mime);
    if (entry.Status != 0) {
        line.append(",\"status\":\"").append(std::to_string(entry.Status)).append("\"");
    }
    line += ",\"digest\":";
    AppendJsonString(line, entry.Digest);
    line.append(",\"length\":\"").append(std::to_string(entry.Length));
    line.append("\",\"offset\":\"").append(std::to_string(entry.Offset));
    line += "\",\"filename\":";
    AppendJsonString(line, entry.FileName);
    line += '}';
    return line;
}

void SortCdxjLines(std::vector<std::string>& lines) {
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
}

std::string CdxjText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text.append(line).append("\n");
    }
    return text;
}

std::string_view CdxjFileNameText(std::string_view line) {
    constexpr std::string_view Field = ",\"filename\":";
    const std::size_t at = line.rfind(Field);
    if (at == std::string_view::npos || !line.ends_with('}')) {
        return {};
    }
    return line.substr(at + Field.size(), line.size() - 1 - at - Field.size());
}

bool CdxjLineIsFor(std::string_view line, std::string_view fileName) {
    const std::string_view name = CdxjFileNameText(line);
    return !name.empty() && name == JsonString(fileName);
}

}  // namespace arkivo
