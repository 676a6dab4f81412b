#pragma once
// Content classification: the table that maps content codes to content types and
// back, its growth through MIMETYPE.DAT, and what follows from a code (the archive
// folder, the file class, the explorer group, the file-name extension).
//
// Code k is entry k of MimeTypes: 72 built-in types whose order is part of the
// archive.dat format (code 1 is "text/html", ...), then the types added through
// MIMETYPE.DAT in file order. Code 0 means "not classified". Codes are stored in 8
// bits, so the table never holds more than 255 types.
//
// MIMETYPE.DAT (CR LF line ends): the header line
// "ADDITIONAL MIMETYPES INFO. DO NOT EDIT OR REMOVE!", then one added type per
// line exactly as it was added. Lines are only ever appended, under an exclusive
// lock on the file, after reading again what other processes appended since: so
// two programs running at once never give one code to two types. It lives where
// platform/user_files.h says; a per-user file that does not exist yet starts from
// a copy carried over beside the program, so that stored codes keep their meaning.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace arkivo {

inline constexpr int MaxContentCode = 255;
inline constexpr int BuiltInContentTypeCount = 72;
inline constexpr std::string_view MimeTypeFileName = "MIMETYPE.DAT";
inline constexpr std::string_view MimeTypeFileHeader =
    "ADDITIONAL MIMETYPES INFO. DO NOT EDIT OR REMOVE!";

enum class FileClass { Text = 0, Image = 1, Audio = 2, Video = 3, Other = 4 };

// The explorer's three groups, stored as TCacheItem::Group.
enum ContentGroup : std::int32_t { TextGroup = 0, MediaGroup = 1, OtherGroup = 2 };

// Code 0 is a type that could not be recorded: such items are never archived.
// Code 1 is "text/html", the pages whose links the archive rewrites.
inline constexpr int UnknownContentCode = 0;
inline constexpr int HtmlContentCode = 1;

// Fills MimeTypes with the built-in table and the lines of MIMETYPE.DAT in dir
// (default: MimeTypeFileDir()). Later additions are appended to that file. While it
// does not exist, the MIMETYPE.DAT in carriedOverDir (if any) stands in for it and
// is copied into it with the first addition.
void LoadMimeTypes();
void LoadMimeTypes(const std::string& dir, const std::string& carriedOverDir = {});

// The code of a content type (letter case ignored, blanks and control characters
// trimmed from both ends, empty meaning "text/html"). A type not yet known that has
// at least 3 characters and a "/" is added to MimeTypes and MIMETYPE.DAT; otherwise,
// or when the table is full or the file cannot be written, the code is 0.
int ContentCodeOf(std::string_view contentType);

// Why the last type that should have been added could not be recorded (the file or
// a full table); empty when every addition so far succeeded.
const std::string& MimeTypeRecordingError();

// The added types of a MIMETYPE.DAT text, in file order, as many as codes allow.
std::vector<std::string> AddedMimeTypes(std::string_view fileText);

// A MIMETYPE.DAT text holding the types added to MimeTypes now.
std::string MimeTypeFileText();

// The content type of a code; "text/plain" for 0 and codes beyond the table.
std::string ContentTypeOf(int code);

// The archive folder of a code: the type's part before the first "/", else "other".
std::string MajorTypeOf(int code);

// text, image, audio, video or other by the type's first five characters (case counts).
FileClass FileClassOf(int code);

// Text, media (image, audio, video) or other, by the lower-cased type.
ContentGroup ContentGroupOf(std::string_view contentType);

// The number of types MimeTypes holds now.
int MimeTypeCount();

// The extension (without the dot) that ArkivoNav gives each built-in code when it
// names archived files after URLs.
class TExtensionTable {
  public:
    // "htm" for code 0 and codes beyond the built-in table.
    std::string ExtensionOf(int code) const;

  private:
    friend TExtensionTable BuildExtensionTable();
    std::vector<std::string> extensions_;
};

TExtensionTable BuildExtensionTable();

}  // namespace arkivo
