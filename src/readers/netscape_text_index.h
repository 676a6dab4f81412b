#pragma once
// The text cache index of Navigator 1.x ("FAT").
//
// The first line is a signature ("MCOM-Cache-file-allocation-table-format-1", or a
// line beginning "MOSAIC-COM") and is not read further. Every other line describes
// one cached file in fields separated by any character outside the printable range
// 0x20..0x7E (a TAB, say; a space belongs to its field):
//
//   1  unused (kept to 3 characters)       5  the URL (255)
//   2  unused (12)                         6  the content type (50)
//   3  time, decimal seconds since 1970    7  unused (12)
//   4  full path of the cached file, of which only the name is used
//
// A line counts only when something follows its seventh field; CR, LF and CR LF
// all end lines, empty lines are skipped and a line is cut to 255 characters.

#include <functional>
#include <string>
#include <string_view>

#include "readers/netscape_record.h"

namespace arkivo {

// Hands out the lines of a text index one by one.
class IndexLineReader {
  public:
    explicit IndexLineReader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }

    // The next line with the CR or LF that ended it (none at the end of the text),
    // cut to 255 characters. Skips CR and LF first; a single character standing
    // alone at the very end of the text gives an empty line.
    std::string ReadIndexLine();

    // The number of the line ReadIndexLine last gave, counting from 1 with every
    // CR, LF and CR LF ending one line, skipped empty lines included.
    std::size_t LineNumber() const { return lineNumber_; }

  private:
    // The next character, counting the line ends it passes.
    char Take();

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lineEnds_ = 0;
    std::size_t lineNumber_ = 0;
};

// Takes the next field off the front of line: leading characters outside 0x20..0x7E
// are dropped, then the field runs to the next such character, which goes with it.
// When no separator follows, the field is the rest of the line but its last
// character, and the line becomes empty.
std::string NextIndexField(std::string& line);

// Reads every line after the signature and hands each usable one to entryFound
// (FileName keeps its letter case here; the content type is lower-cased). Its
// origin holds the fields as the line gives them (the path whole) and the line's
// number as its record offset. pendingMessages is called before every fifth line.
void ReadTextIndex(std::string_view text,
                   const std::function<void(const NetscapeEntry&)>& entryFound,
                   const std::function<void()>& pendingMessages);

}  // namespace arkivo
