#pragma once
// Builds Navigator cache keys, version-3 and version-5 records and small hash-file
// pages for the reader's tests.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/byte_reader.h"
#include "readers/netscape_db_page.h"

namespace arkivo::testing {

struct TestRecord {
    std::string Url = "http://www.example.com/index.html";
    std::string FileName = "M0001.HTM";
    std::string ContentType = "text/html";
    std::int32_t Time = 850000000;
    std::int32_t LastModified = 0;
    std::int32_t Expires = 0;
    std::uint32_t ContentLength = 100;
    std::string ContentEncoding;
    std::string Charset;
    std::uint32_t Version = 3;
    std::string Cipher;
    std::string Certificate;
    std::string PostHeaders;
    // Version 5 only: the security block, stored after its length.
    std::string SecurityInfo = std::string(12, '\0');
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
    PutU32LE(key, static_cast<std::uint32_t>(12 + record.Url.size() + 1));
    PutNetscapeString(key, record.Url);
    PutU32LE(key, 0);
    return key;
}

inline std::string DataOf(const TestRecord& record) {
    std::string body;
    PutU32LE(body, record.Version);
    PutU32LE(body, static_cast<std::uint32_t>(record.LastModified));
    PutU32LE(body, static_cast<std::uint32_t>(record.Time));
    PutU32LE(body, static_cast<std::uint32_t>(record.Expires));
    PutU32LE(body, record.ContentLength);
    body += '\0';
    PutU32LE(body, 0);
    PutNetscapeString(body, record.FileName);
    PutU32LE(body, static_cast<std::uint32_t>(record.FileName.size()));
    body += '\1';
    PutU32LE(body, record.Cipher.empty() ? 0 : 1);
    if (record.Version == 5) {
        PutU32LE(body, static_cast<std::uint32_t>(record.SecurityInfo.size()));
        body += record.SecurityInfo;
    } else {
        PutU32LE(body, 0);
        PutU32LE(body, 0);
        PutNetscapeString(body, record.Cipher);
        PutNetscapeString(body, record.Certificate);
    }
    PutU32LE(body, 0);
    PutNetscapeString(body, record.PostHeaders);
    PutNetscapeString(body, record.ContentType);
    PutNetscapeString(body, record.ContentEncoding);
    PutNetscapeString(body, record.Charset);
    body += std::string(5 + record.Url.size() + 1, '\0');
    std::string data;
    PutU32LE(data, static_cast<std::uint32_t>(body.size() + 4));
    return data + body;
}

// A hash header for pages of pageSize with buckets 0 and 1 on pages 1 and 2.
inline std::string HashHeaderPage(std::uint32_t pageSize, std::uint32_t order = 1234,
                                  std::uint32_t maxBucket = 1) {
    std::string header(pageSize, '\0');
    const auto put = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            header[at + i] = static_cast<char>(value >> (24 - 8 * i));
        }
    };
    put(0, 0x00061561);
    put(4, 2);
    put(8, order);
    put(12, pageSize);
    put(40, maxBucket);
    put(60, 1);
    return header;
}

// A key and its data to store on a page.
struct TestPair {
    std::string Key;
    std::string Data;
};

// A data page holding pairs (oldest first) and, optionally, an overflow link.
inline std::string DataPage(std::uint32_t pageSize, const std::vector<TestPair>& pairs,
                            std::optional<std::uint16_t> overflow = std::nullopt,
                            bool bigEndian = false) {
    std::string page(pageSize, '\0');
    std::vector<std::uint16_t> words;
    std::uint32_t offset = pageSize;
    for (const TestPair& pair : pairs) {
        offset -= static_cast<std::uint32_t>(pair.Key.size());
        page.replace(offset, pair.Key.size(), pair.Key);
        words.push_back(static_cast<std::uint16_t>(offset));
        offset -= static_cast<std::uint32_t>(pair.Data.size());
        page.replace(offset, pair.Data.size(), pair.Data);
        words.push_back(static_cast<std::uint16_t>(offset));
    }
    if (overflow) {
        words.push_back(*overflow);
        words.push_back(0);
    }
    const auto count = static_cast<std::uint16_t>(words.size());
    words.insert(words.begin(), count);
    words.push_back(static_cast<std::uint16_t>(offset - 2 * (count + 3)));
    words.push_back(static_cast<std::uint16_t>(offset));
    for (std::size_t i = 0; i < words.size(); ++i) {
        page[2 * i + (bigEndian ? 1 : 0)] = static_cast<char>(words[i] & 0xFF);
        page[2 * i + (bigEndian ? 0 : 1)] = static_cast<char>(words[i] >> 8);
    }
    return page;
}

}  // namespace arkivo::testing
