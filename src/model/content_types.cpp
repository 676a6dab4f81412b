#include "model/content_types.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <unordered_map>
#include <utility>

#include "model/url.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/program_dir.h"

namespace arkivo {
namespace {

struct BuiltInType {
    std::string_view Type;
    std::string_view Extension;
};

// The order is part of the archive.dat format: never reorder, only append.
constexpr BuiltInType BuiltInTypes[BuiltInContentTypeCount] = {
    {"text/html", "htm"},
    {"image/gif", "gif"},
    {"image/jpeg", "jpg"},
    {"text/plain", "txt"},
    {"text/richtext", "rtf"},
    {"image/x-xbitmap", "xbm"},
    {"image/xbitmap", "xbm"},
    {"image/pjpeg", "jpg"},
    {"image/tiff", "tif"},
    {"image/ief", "ief"},
    {"image/x-xwindowdump", "xwd"},
    {"image/x-ms-bmp", "bmp"},
    {"image/xbm", "xbm"},
    {"image/x-xpixmap", "xpm"},
    {"image/x-rgb", "rgb"},
    {"image/x-portable-pixmap", "xpm"},
    {"image/x-portable-graymap", "xgm"},
    {"image/x-portable-bitmap", "xbm"},
    {"image/x-portable-anymap", "xam"},
    {"image/x-cmu-raster", "cmu"},
    {"video/x-sgi-movie", "sgi"},
    {"video/x-msvideo", "avi"},
    {"video/quicktime", "mov"},
    {"video/mpeg", "mpg"},
    {"video/avi", "avi"},
    {"audio/x-wav", "wav"},
    {"audio/wav", "wav"},
    {"audio/x-aiff", "aif"},
    {"audio/x-midi", "mid"},
    {"audio/x-pn-realaudio", "ra"},
    {"audio/aiff", "aif"},
    {"audio/basic", "au"},
    {"application/msword", "doc"},
    {"application/x-troff-man", "tro"},
    {"application/x-sh", "sh"},
    {"application/x-latex", "ltx"},
    {"application/x-csh", "csh"},
    {"application/rtf", "rtf"},
    {"application/postscript", "ps"},
    {"application/octet-stream", "exe"},
    {"application/x-stuffit", "stf"},
    {"application/mac-binhex40", "bhx"},
    {"application/fractals", "fra"},
    {"application/x-zip-compressed", "zip"},
    {"application/x-ns-proxy-autoconfig", "nsp"},
    {"application/x-javascript", "js"},
    {"application/x-tar", "tar"},
    {"application/x-gtar", "gtr"},
    {"application/x-gzip", "gz"},
    {"application/x-compress", "cmp"},
    {"application/x-mocha", "moc"},
    {"application/x-tcl", "tcl"},
    {"application/x-cpio", "cpi"},
    {"application/x-shar", "shr"},
    {"application/x-texinfo", "txi"},
    {"application/x-tex", "tex"},
    {"application/x-dvi", "dvi"},
    {"application/octet-string", "exe"},
    {"application/x-msdownload", "msd"},
    {"application/zip", "zip"},
    {"www/unknown", "ukn"},
    {"x-world/x-vrml", "wrl"},
    {"audio/midi", "mid"},
    {"audio/x-mid", "mid"},
    {"image/fif", "fif"},
    {"image/png", "png"},
    {"application/pdf", "pdf"},
    {"application/x-httpd-cgi", "cgi"},
    {"application/x-java-class", "cla"},
    {"application/x-gocserve", "cis"},
    {"application/x-tvml", "tvm"},
    {"application/exe", "exe"},
};

constexpr std::size_t MaxLineLength = 255;

// MimeTypes with an index from the lower-cased type to its first code.
struct MimeTypeTable {
    std::vector<std::string> Types;
    std::unordered_map<std::string, int> FirstCode;
    std::string FilePath;

    void Add(std::string type) {
        FirstCode.emplace(LowerCase(type), static_cast<int>(Types.size()) + 1);
        Types.push_back(std::move(type));
    }
};

MimeTypeTable& Table() {
    static MimeTypeTable table = [] {
        MimeTypeTable built;
        for (const auto& entry : BuiltInTypes) {
            built.Add(std::string(entry.Type));
        }
        return built;
    }();
    return table;
}

bool IsTrimmed(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < 33 || code > 126;
}

std::string TrimContentType(std::string_view type) {
    std::size_t first = 0;
    std::size_t last = type.size();
    while (first < last && IsTrimmed(type[first])) {
        ++first;
    }
    while (last > first && IsTrimmed(type[last - 1])) {
        --last;
    }
    return std::string(type.substr(first, last - first));
}

// Appends one line to MIMETYPE.DAT, creating it with its header first. The line is
// written with one call so a crash leaves either the whole line or none of it.
bool AppendToMimeTypeFile(const std::string& path, const std::string& type) {
    std::string text;
    const auto existing = ReadWholeFile(path);
    if (!existing) {
        text.append(MimeTypeFileHeader).append("\r\n");
    } else if (!existing->empty() && existing->back() != '\n') {
        text += "\r\n";
    }
    text.append(type).append("\r\n");
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    ssize_t written;
    do {
        written = ::write(fd, text.data(), text.size());
    } while (written < 0 && errno == EINTR);
    const bool ok = written == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

}  // namespace

void LoadMimeTypes() {
    LoadMimeTypes(ProgramDir());
}

void LoadMimeTypes(const std::string& dir) {
    MimeTypeTable& table = Table();
    table = MimeTypeTable();
    for (const auto& entry : BuiltInTypes) {
        table.Add(std::string(entry.Type));
    }
    table.FilePath = JoinPath(dir, MimeTypeFileName);

    const auto contents = ReadWholeFile(table.FilePath);
    if (!contents || contents->empty()) {
        return;
    }
    std::string_view rest = *contents;
    bool header = true;
    while (!rest.empty() && table.Types.size() < MaxContentCode) {
        const auto newline = rest.find('\n');
        std::string_view line = rest.substr(0, newline);
        rest = newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (header) {
            header = false;
            continue;
        }
        table.Add(CutTo(line, MaxLineLength));
    }
}

int ContentCodeOf(std::string_view contentType) {
    MimeTypeTable& table = Table();
    std::string type = TrimContentType(contentType.substr(0, MaxLineLength));
    if (type.empty()) {
        type = "text/html";
    }
    const auto found = table.FirstCode.find(LowerCase(type));
    if (found != table.FirstCode.end()) {
        return found->second;
    }
    if (type.size() < 3 || type.find('/') == std::string::npos ||
        table.Types.size() >= MaxContentCode) {
        return 0;
    }
    // A code that is not also recorded in the file would mean something else after
    // a restart, so a type that cannot be written down stays unclassified.
    if (table.FilePath.empty() || !AppendToMimeTypeFile(table.FilePath, type)) {
        return 0;
    }
    table.Add(type);
    return static_cast<int>(table.Types.size());
}

std::string ContentTypeOf(int code) {
    const auto& types = Table().Types;
    if (code <= 0 || code > static_cast<int>(types.size())) {
        return "text/plain";
    }
    return types[static_cast<std::size_t>(code) - 1];
}

std::string MajorTypeOf(int code) {
    const std::string type = ContentTypeOf(code);
    const auto slash = type.find('/');
    return slash == std::string::npos ? "other" : type.substr(0, slash);
}

FileClass FileClassOf(int code) {
    const std::string prefix = ContentTypeOf(code).substr(0, 5);
    if (prefix == "text/") {
        return FileClass::Text;
    }
    if (prefix == "image") {
        return FileClass::Image;
    }
    if (prefix == "audio") {
        return FileClass::Audio;
    }
    if (prefix == "video") {
        return FileClass::Video;
    }
    return FileClass::Other;
}

ContentGroup ContentGroupOf(std::string_view contentType) {
    const std::string prefix = LowerCase(contentType.substr(0, 5));
    if (prefix == "text/") {
        return TextGroup;
    }
    if (prefix == "image" || prefix == "audio" || prefix == "video") {
        return MediaGroup;
    }
    return OtherGroup;
}

int MimeTypeCount() {
    return static_cast<int>(Table().Types.size());
}

std::string TExtensionTable::ExtensionOf(int code) const {
    if (code <= 0 || code > static_cast<int>(extensions_.size())) {
        return "htm";
    }
    return extensions_[static_cast<std::size_t>(code) - 1];
}

TExtensionTable BuildExtensionTable() {
    TExtensionTable table;
    for (const auto& entry : BuiltInTypes) {
        table.extensions_.emplace_back(entry.Extension);
    }
    return table;
}

}  // namespace arkivo
