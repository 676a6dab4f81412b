#include "model/content_types.h"

#include <fcntl.h>
#include <unistd.h>

#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <utility>

#include "model/file_utils.h"
#include "model/url.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/program_dir.h"
#include "platform/user_files.h"

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
    std::string CarriedOverPath;
    std::string RecordingError;

    void Add(std::string type) {
        FirstCode.emplace(LowerCase(type), static_cast<int>(Types.size()) + 1);
        Types.push_back(std::move(type));
    }

    // Adds the types of the file beyond those the table holds already.
    void Catch(std::string_view fileText) {
        const std::vector<std::string> added = AddedMimeTypes(fileText);
        for (std::size_t i = Types.size() - BuiltInContentTypeCount; i < added.size(); ++i) {
            Add(added[i]);
        }
    }
};

MimeTypeTable BuiltInTable() {
    MimeTypeTable built;
    for (const auto& entry : BuiltInTypes) {
        built.Add(std::string(entry.Type));
    }
    return built;
}

MimeTypeTable& Table() {
    static MimeTypeTable table = BuiltInTable();
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

// The open MIMETYPE.DAT, locked for this process until it is closed.
class LockedMimeTypeFile {
  public:
    explicit LockedMimeTypeFile(const std::string& path) {
        MakeDirectoryPath(std::string(DirectoryPart(path)));
        fd_ = RegularFileOnly(
            ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0644));
        if (fd_ >= 0 && !Lock()) {
            const int error = errno;
            ::close(fd_);
            fd_ = -1;
            errno = error;
        }
    }
    ~LockedMimeTypeFile() {
        if (fd_ >= 0) {
            ::close(fd_);  // also releases the lock
        }
    }
    LockedMimeTypeFile(const LockedMimeTypeFile&) = delete;
    LockedMimeTypeFile& operator=(const LockedMimeTypeFile&) = delete;

    bool Valid() const { return fd_ >= 0; }

    std::optional<std::string> Contents() const {
        std::string bytes;
        if (::lseek(fd_, 0, SEEK_SET) < 0 || !ReadRest(fd_, bytes)) {
            return std::nullopt;
        }
        return bytes;
    }

    // One write for the whole text, synced, so a crash leaves all of it or none.
    bool Append(std::string_view text) const { return WriteAll(fd_, text) && ::fsync(fd_) == 0; }

  private:
    bool Lock() const {
        int locked;
        do {
            locked = ::flock(fd_, LOCK_EX);
        } while (locked < 0 && errno == EINTR);
        return locked == 0;
    }

    int fd_ = -1;
};

std::string WithLineEnd(std::string text) {
    if (!text.empty() && text.back() != '\n') {
        text += "\r\n";
    }
    return text;
}

// Appends a new type to MIMETYPE.DAT and MimeTypes, or finds that another process
// has added it meanwhile; its code, or 0 with RecordingError set.
int RecordNewType(MimeTypeTable& table, const std::string& type) {
    const auto fail = [&](const std::string& why) {
        table.RecordingError =
            "cannot record the content type \"" + type + "\" in " + table.FilePath + ": " + why;
        return UnknownContentCode;
    };
    if (table.FilePath.empty()) {
        return fail("no file for added content types");
    }
    const LockedMimeTypeFile file(table.FilePath);
    std::optional<std::string> contents;
    if (!file.Valid() || !(contents = file.Contents())) {
        return fail(std::strerror(errno));
    }
    std::string text;
    if (contents->empty()) {
        // A new file: start from the copy carried over from an older setup, if any.
        const auto carried =
            table.CarriedOverPath.empty() ? std::nullopt : ReadWholeFile(table.CarriedOverPath);
        *contents = carried && !carried->empty() ? WithLineEnd(*carried)
                                                 : std::string(MimeTypeFileHeader).append("\r\n");
        text = *contents;
    } else if (contents->back() != '\n') {
        text = "\r\n";
    }
    table.Catch(*contents);
    const auto found = table.FirstCode.find(LowerCase(type));
    if (found != table.FirstCode.end() && text.empty()) {
        return found->second;
    }
    const bool full = table.Types.size() >= MaxContentCode;
    if (found == table.FirstCode.end() && !full) {
        text.append(type).append("\r\n");
    }
    if (!file.Append(text)) {
        return fail(std::strerror(errno));
    }
    if (found != table.FirstCode.end()) {
        return found->second;
    }
    if (full) {
        return fail("the table of content types is full");
    }
    table.Add(type);
    return static_cast<int>(table.Types.size());
}

}  // namespace

std::vector<std::string> AddedMimeTypes(std::string_view fileText) {
    std::vector<std::string> types;
    std::string_view rest = fileText;
    bool header = true;
    while (!rest.empty() && types.size() < MaxContentCode - BuiltInContentTypeCount) {
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
        types.push_back(CutTo(line, MaxLineLength));
    }
    return types;
}

std::string MimeTypeFileText() {
    std::string text = std::string(MimeTypeFileHeader) + "\r\n";
    const auto& types = Table().Types;
    for (std::size_t i = BuiltInContentTypeCount; i < types.size(); ++i) {
        text.append(types[i]).append("\r\n");
    }
    return text;
}

void LoadMimeTypes() {
    const std::string dir = MimeTypeFileDir();
    const std::string program = ProgramDir();
    LoadMimeTypes(dir, dir == program ? std::string() : program);
}

void LoadMimeTypes(const std::string& dir, const std::string& carriedOverDir) {
    MimeTypeTable& table = Table();
    table = BuiltInTable();
    table.FilePath = JoinPath(dir, MimeTypeFileName);
    if (!carriedOverDir.empty()) {
        table.CarriedOverPath = JoinPath(carriedOverDir, MimeTypeFileName);
    }
    auto contents = ReadWholeFile(table.FilePath);
    if ((!contents || contents->empty()) && !table.CarriedOverPath.empty()) {
        contents = ReadWholeFile(table.CarriedOverPath);
    }
    if (contents) {
        table.Catch(*contents);
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
    if (type.size() < 3 || type.find('/') == std::string::npos) {
        return UnknownContentCode;
    }
    // A code that is not also recorded in the file would mean something else after
    // a restart, so a type that cannot be written down stays unclassified.
    return RecordNewType(table, type);
}

const std::string& MimeTypeRecordingError() {
    return Table().RecordingError;
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
