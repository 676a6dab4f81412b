#include "platform/registry_file.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

namespace arkivo {
namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return Lower(a) == Lower(b);
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Reads an escaped text from text[pos] up to the terminator (not included) and
// leaves pos just past the terminator. False when the terminator never comes.
bool ReadEscaped(std::string_view text, std::size_t& pos, char terminator, std::string& out) {
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == terminator) {
            return true;
        }
        if (c != '\\' || pos >= text.size()) {
            out += c;
            continue;
        }
        const char e = text[pos++];
        switch (e) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'a':
                out += '\a';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'v':
                out += '\v';
                break;
            case 'e':
                out += '\x1b';
                break;
            case 'x': {
                std::uint32_t code = 0;
                int digits = 0;
                while (digits < 4 && pos < text.size() && HexDigit(text[pos]) >= 0) {
                    code = code * 16 + static_cast<std::uint32_t>(HexDigit(text[pos++]));
                    ++digits;
                }
                out += digits == 0 ? 'x' : (code < 256 ? static_cast<char>(code) : '?');
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    std::uint32_t code = static_cast<std::uint32_t>(e - '0');
                    for (int digits = 1;
                         digits < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7';
                         ++digits) {
                        code = code * 8 + static_cast<std::uint32_t>(text[pos++] - '0');
                    }
                    out += static_cast<char>(code & 0xFF);
                } else {
                    out += e;  // \\ and \" and anything unknown stand for themselves
                }
        }
    }
    return false;
}

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::optional<std::string> ParseHexBytes(std::string_view text) {
    std::string bytes;
    int high = -1;
    for (char c : text) {
        if (c == ',' || c == ' ' || c == '\t' || c == '\\') {
            if (high >= 0) {
                bytes += static_cast<char>(high);
                high = -1;
            }
            continue;
        }
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        high = high < 0 ? digit : (high * 16 + digit);
        if (high > 0xFF) {
            return std::nullopt;
        }
    }
    if (high >= 0) {
        bytes += static_cast<char>(high);
    }
    return bytes;
}

// Parses one value line ("name"=data or @=data); std::nullopt when it is damaged or
// a deletion.
std::optional<RegistryFile::Value> ParseValue(std::string_view line) {
    RegistryFile::Value value;
    std::size_t pos = 0;
    if (line[0] == '@') {
        pos = 1;
    } else {
        pos = 1;
        if (!ReadEscaped(line, pos, '"', value.Name)) {
            return std::nullopt;
        }
    }
    std::string_view rest = TrimSpaces(line.substr(pos));
    if (rest.empty() || rest[0] != '=') {
        return std::nullopt;
    }
    rest = TrimSpaces(rest.substr(1));
    auto parseString = [&](std::string_view quoted, RegistryFile::ValueType type) {
        std::size_t at = 1;
        std::string data;
        if (quoted.empty() || quoted[0] != '"' || !ReadEscaped(quoted, at, '"', data)) {
            return std::optional<RegistryFile::Value>();
        }
        value.Type = type;
        value.Data = std::move(data);
        return std::optional<RegistryFile::Value>(value);
    };
    if (!rest.empty() && rest[0] == '"') {
        return parseString(rest, RegistryFile::ValueType::String);
    }
    const std::string lower = Lower(rest);
    if (lower.starts_with("str(2):")) {
        return parseString(rest.substr(7), RegistryFile::ValueType::ExpandString);
    }
    if (lower.starts_with("dword:")) {
        const std::string_view digits = rest.substr(6);
        if (digits.empty() || digits.size() > 8) {
            return std::nullopt;
        }
        std::uint32_t number = 0;
        for (char c : digits) {
            if (HexDigit(c) < 0) {
                return std::nullopt;
            }
            number = number * 16 + static_cast<std::uint32_t>(HexDigit(c));
        }
        value.Type = RegistryFile::ValueType::Dword;
        value.Data = std::to_string(number);
        return value;
    }
    if (lower.starts_with("hex")) {
        const auto colon = rest.find(':');
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        auto bytes = ParseHexBytes(rest.substr(colon + 1));
        if (!bytes) {
            return std::nullopt;
        }
        value.Type = RegistryFile::ValueType::Binary;
        value.Data = std::move(*bytes);
        return value;
    }
    return std::nullopt;
}

// The key path of a "[...]" line; std::nullopt for a deletion or a damaged line.
std::optional<std::string> ParseKeyLine(std::string_view line, bool wine) {
    std::string path;
    if (wine) {
        std::size_t pos = 1;
        if (!ReadEscaped(line, pos, ']', path)) {
            return std::nullopt;
        }
    } else {
        const auto close = line.rfind(']');
        if (close == std::string_view::npos || close < 1) {
            return std::nullopt;
        }
        path = std::string(line.substr(1, close - 1));
    }
    if (path.empty() || path[0] == '-') {
        return std::nullopt;
    }
    while (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    return path;
}

}  // namespace

RegistryFile RegistryFile::Parse(std::string_view text) {
    RegistryFile file;
    bool wine = false;
    bool firstLine = true;
    constexpr std::size_t NoKey = static_cast<std::size_t>(-1);
    std::size_t current = NoKey;  // index of the key the value lines belong to
    std::string pending;          // a value line continued with a trailing backslash
    // Each key's values by lower-cased name, so that a file of many values parses in
    // linear time; a repeated name replaces the value met first.
    std::unordered_map<std::string, std::size_t> valueAt;

    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view raw = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        std::string_view line = TrimSpaces(raw);

        if (!pending.empty()) {
            pending += line;
            if (!pending.empty() && pending.back() == '\\') {
                pending.pop_back();
                continue;
            }
            line = pending;
        }
        if (firstLine && !line.empty()) {
            firstLine = false;
            if (line.starts_with("WINE REGISTRY")) {
                wine = true;
                continue;
            }
            if (line == "REGEDIT4" || line.starts_with("Windows Registry Editor")) {
                continue;
            }
        }
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            pending.clear();
            continue;
        }
        if (line[0] == '[') {
            pending.clear();
            const auto path = ParseKeyLine(line, wine);
            current = NoKey;
            if (path) {
                file.AddKey(*path);
                current = file.index_[Lower(*path)];
            }
            continue;
        }
        if (pending.empty() && line.back() == '\\' &&
            Lower(line).find("=hex") != std::string::npos) {
            pending = std::string(line.substr(0, line.size() - 1));
            continue;
        }
        const std::string complete(line);
        pending.clear();
        if (current == NoKey || (complete[0] != '"' && complete[0] != '@')) {
            continue;
        }
        if (auto value = ParseValue(complete)) {
            auto& values = file.keys_[current].Values;
            const auto [at, added] =
                valueAt.emplace(std::to_string(current) + '\n' + Lower(value->Name), values.size());
            if (added) {
                values.push_back(std::move(*value));
            } else {
                values[at->second] = std::move(*value);
            }
        }
    }
    return file;
}

RegistryFile::Key* RegistryFile::FindKey(std::string_view keyPath) {
    const auto found = index_.find(Lower(keyPath));
    return found == index_.end() ? nullptr : &keys_[found->second];
}

const RegistryFile::Key* RegistryFile::FindKey(std::string_view keyPath) const {
    return const_cast<RegistryFile*>(this)->FindKey(keyPath);
}

RegistryFile::Key& RegistryFile::AddKey(std::string path) {
    const auto [position, added] = index_.emplace(Lower(path), keys_.size());
    if (added) {
        keys_.push_back(Key{std::move(path), {}});
    }
    return keys_[position->second];
}

bool RegistryFile::HasKey(std::string_view keyPath) const {
    return FindKey(keyPath) != nullptr;
}

std::optional<std::string> RegistryFile::StringValue(std::string_view keyPath,
                                                     std::string_view name) const {
    const Key* key = FindKey(keyPath);
    if (key == nullptr) {
        return std::nullopt;
    }
    for (const auto& value : key->Values) {
        if (EqualsNoCase(value.Name, name)) {
            if (value.Type == ValueType::String || value.Type == ValueType::ExpandString) {
                return value.Data;
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void RegistryFile::SetString(std::string_view keyPath, std::string_view name,
                             std::string_view data) {
    Key& key = AddKey(std::string(keyPath));
    for (auto& value : key.Values) {
        if (EqualsNoCase(value.Name, name)) {
            value.Type = ValueType::String;
            value.Data = std::string(data);
            return;
        }
    }
    key.Values.push_back(Value{std::string(name), ValueType::String, std::string(data)});
}

std::string RegistryFile::ToRegedit4() const {
    std::string out = "REGEDIT4\r\n";
    for (const auto& key : keys_) {
        out += "\r\n[" + key.Path + "]\r\n";
        for (const auto& value : key.Values) {
            out += value.Name.empty() ? std::string("@") : "\"" + Escape(value.Name) + "\"";
            out += '=';
            switch (value.Type) {
                case ValueType::String:
                    out += "\"" + Escape(value.Data) + "\"";
                    break;
                case ValueType::ExpandString:
                    out += "str(2):\"" + Escape(value.Data) + "\"";
                    break;
                case ValueType::Binary: {
                    out += "hex:";
                    static constexpr char digits[] = "0123456789abcdef";
                    for (std::size_t i = 0; i < value.Data.size(); ++i) {
                        const auto byte = static_cast<unsigned char>(value.Data[i]);
                        if (i > 0) {
                            out += ',';
                        }
                        out += digits[byte >> 4];
                        out += digits[byte & 15];
                    }
                    break;
                }
                case ValueType::Dword: {
                    char buffer[16];
                    std::snprintf(buffer, sizeof buffer, "dword:%08lx",
                                  std::stoul(value.Data.empty() ? "0" : value.Data));
                    out += buffer;
                    break;
                }
            }
            out += "\r\n";
        }
    }
    return out;
}

}  // namespace arkivo
