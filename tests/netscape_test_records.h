#pragma once
// Builds Navigator cache keys and version-3 records for the reader's tests.

#include <cstdint>
#include <string>

#include "platform/byte_reader.h"

namespace arkivo::testing {

struct TestRecord {
    std::string url = "http://www.example.com/index.html";
    std::string fileName = "M0001.HTM";
    std::string contentType = "text/html";
    std::int32_t time = 850000000;
    std::uint32_t version = 3;
    std::string cipher;
    std::string certificate;
    std::string postHeaders;
};

// A length-prefixed string whose length counts the closing NUL (0 and no bytes
// for an empty one).
inline void PutNetscapeString(std::string& out, const std::string& text) {
    PutU32LE(out, text.empty() ? 0 : static_cast<std::uint32_t>(text.size() + 1));
    if (!text.empty()) {
        out += text;
        out += '\0';
    }
}

inline std::string KeyOf(const TestRecord& record) {
    std::string key;
    PutU32LE(key, static_cast<std::uint32_t>(12 + record.url.size() + 1));
    PutNetscapeString(key, record.url);
    PutU32LE(key, 0);
    return key;
}

inline std::string DataOf(const TestRecord& record) {
    std::string body;
    PutU32LE(body, record.version);
    PutU32LE(body, 0);
    PutU32LE(body, static_cast<std::uint32_t>(record.time));
    PutU32LE(body, 0);
    PutU32LE(body, 100);
    body += '\0';
    PutU32LE(body, 0);
    PutNetscapeString(body, record.fileName);
    PutU32LE(body, static_cast<std::uint32_t>(record.fileName.size()));
    body += '\1';
    PutU32LE(body, record.cipher.empty() ? 0 : 1);
    PutU32LE(body, 0);
    PutU32LE(body, 0);
    PutNetscapeString(body, record.cipher);
    PutNetscapeString(body, record.certificate);
    PutU32LE(body, 0);
    PutNetscapeString(body, record.postHeaders);
    PutNetscapeString(body, record.contentType);
    PutNetscapeString(body, "");
    PutNetscapeString(body, "");
    body += std::string(5 + record.url.size() + 1, '\0');
    std::string data;
    PutU32LE(data, static_cast<std::uint32_t>(body.size() + 4));
    return data + body;
}

}  // namespace arkivo::testing
