#pragma once
// linkchecker (Debian package "linkchecker") walking an archive from one of its
// pages: every URL it met, from its CSV report. Tests that use it skip when it is
// not installed. Run as root, linkchecker reads the files as "nobody", so the
// archive is made readable to everyone first.

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace arkivo::testing {

struct CheckedLink {
    std::string Url;
    bool Valid = false;
    std::string Result;
    std::string Parent;
};

inline bool HasLinkChecker() {
    return RunCommand("command -v linkchecker").Output.find("linkchecker") != std::string::npos;
}

// The records of a CSV text with ";" between fields; a quoted field may hold ";",
// doubled quotes and line ends. Lines starting with "#" are comments.
inline std::vector<std::vector<std::string>> CsvRecords(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '#' && record.empty() && field.empty()) {
            i = text.find('\n', i);
            if (i == std::string::npos) {
                break;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ';') {
            record.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            record.push_back(std::move(field));
            field.clear();
            records.push_back(std::move(record));
            record.clear();
        } else if (c != '\r') {
            field += c;
        }
    }
    return records;
}

// Every URL linkchecker met, from its CSV report:
// urlname;parentname;base;result;warningstring;infostring;valid;url;...
inline std::vector<CheckedLink> CheckLinks(const std::string& startPage) {
    const std::string report = RunCommand("linkchecker --no-status --verbose -o csv 'file://" +
                                          startPage + "' 2>/dev/null")
                                   .Output;
    std::vector<CheckedLink> links;
    for (const auto& fields : CsvRecords(report)) {
        if (fields.size() >= 8 && fields[0] != "urlname") {
            links.push_back({fields[7], fields[6] == "True", fields[3], fields[1]});
        }
    }
    return links;
}

inline std::string PercentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// linkchecker run as root reads as "nobody": open the tree to everyone, whatever
// the umask made of it.
inline void MakeReadableToAll(const std::string& root) {
    namespace fs = std::filesystem;
    const auto open = fs::perms::others_read | fs::perms::group_read;
    const auto enter = fs::perms::others_exec | fs::perms::group_exec;
    fs::permissions(root, open | enter, fs::perm_options::add);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        fs::permissions(entry.path(), entry.is_directory() ? open | enter : open,
                        fs::perm_options::add);
    }
}

}  // namespace arkivo::testing
