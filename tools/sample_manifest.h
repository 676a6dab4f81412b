#pragma once
// The list of cached resources that make_sample_site writes beside the site and
// that the cache generators (make_fat_db, ie_fixture_writer) turn into caches. One
// resource a line, four fields separated by TABs:
//
//   URL <TAB> content type <TAB> date <TAB> content file
//
// The date is "YYYY-MM-DD HH:MM:SS", a local wall-clock time (no time zone), the
// time the browser last fetched the resource. The content file is relative to the
// manifest's directory. Empty lines and lines starting with '#' are skipped.

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/path.h"

namespace arkivo::samples {

struct ManifestEntry {
    std::string Url;
    std::string ContentType;
    DateParts Date;
    std::string ContentFile;  // as written in the manifest
    std::string Content;      // the content file's bytes (filled by ReadManifest)
};

inline std::string FormatManifestDate(const DateParts& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.Year, date.Month,
                  date.Day, date.Hour, date.Minute, date.Second);
    return text;
}

// The date of "YYYY-MM-DD HH:MM:SS"; std::nullopt for anything else or a date that
// does not exist.
inline std::optional<DateParts> ParseManifestDate(std::string_view text) {
    DateParts date;
    char tail = '\0';
    const std::string copy(text);
    if (copy.size() != 19 ||
        std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &date.Year, &date.Month, &date.Day,
                    &date.Hour, &date.Minute, &date.Second, &tail) != 6) {
        return std::nullopt;
    }
    if (!EncodeDate(date)) {
        return std::nullopt;
    }
    return date;
}

inline std::string ManifestLine(const ManifestEntry& entry) {
    return entry.Url + '\t' + entry.ContentType + '\t' + FormatManifestDate(entry.Date) + '\t' +
           entry.ContentFile + '\n';
}

// Reads the manifest and every content file it names. On failure gives false and
// a message naming the manifest line or file at fault.
inline bool ReadManifest(const std::string& path, std::vector<ManifestEntry>& entries,
                         std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the manifest " + path;
        return false;
    }
    const std::string dir = DirectoryPart(path);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line.starts_with('#')) {
            continue;
        }
        const std::string where = path + ":" + std::to_string(number) + ": ";
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) {
            fields.push_back(field);
        }
        if (fields.size() != 4 || fields[0].empty() || fields[1].empty() || fields[3].empty()) {
            error = where + "expected URL, content type, date and content file separated by TABs";
            return false;
        }
        const auto date = ParseManifestDate(fields[2]);
        if (!date) {
            error = where + "the date \"" + fields[2] + "\" is not YYYY-MM-DD HH:MM:SS";
            return false;
        }
        ManifestEntry entry{fields[0], fields[1], *date, fields[3], {}};
        std::ifstream content(JoinPath(dir, entry.ContentFile), std::ios::binary);
        if (!content) {
            error = where + "cannot read the content file " + JoinPath(dir, entry.ContentFile);
            return false;
        }
        entry.Content.assign(std::istreambuf_iterator<char>(content), {});
        entries.push_back(std::move(entry));
    }
    if (entries.empty()) {
        error = path + ": the manifest lists no resources";
        return false;
    }
    return true;
}

}  // namespace arkivo::samples
