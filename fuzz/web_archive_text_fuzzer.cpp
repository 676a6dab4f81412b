// The texts a web archive takes from a cache: a stored response header made into a
// record's HTTP head, and a URL made into a target URI and an index key.
//
// Whatever the input, the head must be lines of "Name: value" after the status
// line, each ended by CRLF and holding no other line break or control byte but
// tab, closed by an empty line; and the URI, its key and its index line must stay
// on one line with no space in the key.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_scratch.h"
#include "webarchive/cdxj.h"
#include "webarchive/stored_response.h"
#include "webarchive/warc_fields.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckHead(const arkivo::StoredResponse& response) {
    if (!response.HasStatusLine) {
        Require(response.Head.empty());
        return;
    }
    const std::string& head = response.Head;
    Require(head.size() >= 4 && head.ends_with("\r\n\r\n"));
    Require(response.Status >= 0 && response.Status <= 999);
    std::size_t lineStart = 0;
    bool firstLine = true;
    while (lineStart < head.size() - 2) {
        const std::size_t end = head.find("\r\n", lineStart);
        Require(end != std::string::npos);
        const std::string line = head.substr(lineStart, end - lineStart);
        Require(!line.empty());
        for (const char c : line) {
            const auto byte = static_cast<unsigned char>(c);
            Require(byte >= 0x20 || c == '\t');
            Require(byte != 0x7F);
        }
        if (!firstLine) {
            const std::size_t colon = line.find(": ");
            Require(colon != std::string::npos && colon > 0);
            Require(line.find(' ') >= colon);
        }
        firstLine = false;
        lineStart = end + 2;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = arkivo::fuzz::AsText(data, size);
    CheckHead(arkivo::ReadStoredResponse(text, size, text.substr(0, 4)));

    const std::string uri = arkivo::UriText(text);
    for (const char c : uri) {
        const auto byte = static_cast<unsigned char>(c);
        Require(byte > 0x20 && byte < 0x7F);
    }
    const std::string key = arkivo::SurtKey(uri);
    Require(key.find_first_of(" \r\n") == std::string::npos);
    arkivo::CdxjEntry entry;
    entry.Url = uri;
    entry.Mime = std::string(text);
    entry.FileName = std::string(text);
    const std::string line = arkivo::CdxjLine(entry);
    Require(line.find_first_of("\r\n") == std::string::npos);
    Require(line.find(' ') == key.size() && line[key.size() + 15] == ' ');

    const std::string value = arkivo::FieldValue(text);
    Require(value.find_first_of("\r\n") == std::string::npos);
    return 0;
}
