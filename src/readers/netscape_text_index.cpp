#include "readers/netscape_text_index.h"

#include <charconv>
#include <cstdint>
#include <memory>

#include "model/url.h"

namespace arkivo {
namespace {

constexpr std::size_t MaxLineLength = 255;

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool IsPrintable(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte <= 0x7E;
}

// The decimal value of the text, or 0 when it is no 32-bit whole number.
std::int32_t DecimalOrZero(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty() ? value : 0;
}

// The name of a cached file: what follows the last directory separator of either
// system ("\" or ":" as Windows writes them, "/" as Unix does).
std::string NameOfCachedFile(std::string_view path) {
    const auto cut = path.find_last_of("\\:/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace

char IndexLineReader::Take() {
    const char c = text_[pos_];
    if (c == '\r' || (c == '\n' && (pos_ == 0 || text_[pos_ - 1] != '\r'))) {
        ++lineEnds_;
    }
    ++pos_;
    return c;
}

std::string IndexLineReader::ReadIndexLine() {
    char c = '\0';
    do {
        if (AtEnd()) {
            return {};
        }
        lineNumber_ = lineEnds_ + 1;
        c = Take();
    } while (IsLineEnd(c) && !AtEnd());
    if (AtEnd()) {
        return {};
    }
    std::string line(1, c);
    while (!IsLineEnd(c) && !AtEnd()) {
        c = Take();
        if (line.size() < MaxLineLength) {
            line += c;
        }
    }
    return line;
}

std::string NextIndexField(std::string& line) {
    std::size_t start = 0;
    while (start < line.size() && !IsPrintable(line[start])) {
        ++start;
    }
    line.erase(0, start);
    if (line.empty()) {
        return {};
    }
    std::size_t end = 0;
    while (end < line.size() && IsPrintable(line[end])) {
        ++end;
    }
    if (end == line.size()) {
        std::string field = line.substr(0, line.size() - 1);
        line.clear();
        return field;
    }
    std::string field = line.substr(0, end);
    line.erase(0, end + 1);
    return field;
}

void ReadTextIndex(std::string_view text,
                   const std::function<void(const NetscapeEntry&)>& entryFound,
                   const std::function<void()>& pendingMessages) {
    IndexLineReader reader(text);
    reader.ReadIndexLine();  // the signature
    for (int lines = 0; !reader.AtEnd(); ++lines) {
        if (lines % 5 == 0 && pendingMessages) {
            pendingMessages();
        }
        std::string line = reader.ReadIndexLine();
        NextIndexField(line);  // fields 1 and 2 are not used
        NextIndexField(line);
        const std::string time = CutTo(NextIndexField(line), 12);
        std::string path = NextIndexField(line);
        std::string url = NextIndexField(line);
        std::string contentType = NextIndexField(line);
        NextIndexField(line);  // field 7 is not used
        if (line.empty()) {
            continue;
        }
        NetscapeEntry entry{CutTo(url, 255), NameOfCachedFile(path),
                            LowerCase(CutTo(contentType, 50)), DecimalOrZero(time),
                            std::make_shared<CacheOrigin>()};
        CacheOrigin& origin = *entry.Origin;
        origin.Format = CacheFormat::NavigatorText;
        origin.RecordOffset = reader.LineNumber();
        origin.Url = std::move(url);
        origin.StoredFileName = std::move(path);
        origin.ContentType = std::move(contentType);
        origin.LastAccess = entry.Time;
        entryFound(entry);
    }
}

}  // namespace arkivo
