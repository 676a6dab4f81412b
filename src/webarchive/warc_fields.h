#pragma once
// The named fields of a WARC record head and of an application/warc-fields block:
// "Name: value" lines ended by CRLF. Texts from a cache may hold any byte, so they
// are made safe for one line before they become a value.

#include <string>
#include <string_view>
#include <vector>

namespace arkivo {

struct WarcField {
    std::string Name;
    std::string Value;
};

using WarcFields = std::vector<WarcField>;

// The lines of fields, each "Name: value\r\n".
std::string FieldLines(const WarcFields& fields);

// The head of a WARC/1.1 record: the version line, the fields and the empty line.
std::string WarcHead(const WarcFields& fields);

// A URL from a cache as a URI: bytes that a URI may not hold (controls, space,
// non-ASCII, and " < > \ ^ ` { | }) are percent-encoded; everything else, "%"
// included, is kept, so an already encoded URL stays as it is.
std::string UriText(std::string_view url);

// Any text as one field value: control bytes and backslash become \xHH.
std::string FieldValue(std::string_view text);

}  // namespace arkivo
