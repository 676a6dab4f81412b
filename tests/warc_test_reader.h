#pragma once
// Reading back what the web archive writer wrote, with zlib alone: the gzip
// members of a .warc.gz one by one, and the WARC record each holds.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace arkivo::testing {

struct GzipMember {
    std::uint64_t Offset = 0;
    std::uint64_t Length = 0;
    std::string Bytes;  // decompressed
};

// Every member of data in order; a member that does not end cleanly fails the test.
inline std::vector<GzipMember> ReadGzipMembers(const std::string& data) {
    std::vector<GzipMember> members;
    std::uint64_t offset = 0;
    while (offset < data.size()) {
        z_stream z{};
        EXPECT_EQ(inflateInit2(&z, 15 + 16), Z_OK);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + offset));
        z.avail_in = static_cast<uInt>(data.size() - offset);
        GzipMember member{offset, 0, {}};
        char out[65536];
        int result = Z_OK;
        while (result == Z_OK) {
            z.next_out = reinterpret_cast<Bytef*>(out);
            z.avail_out = sizeof out;
            result = inflate(&z, Z_NO_FLUSH);
            member.Bytes.append(out, sizeof out - z.avail_out);
        }
        EXPECT_EQ(result, Z_STREAM_END) << "member at " << offset;
        member.Length = data.size() - offset - z.avail_in;
        inflateEnd(&z);
        if (result != Z_STREAM_END) {
            break;
        }
        offset += member.Length;
        members.push_back(std::move(member));
    }
    return members;
}

struct WarcTestRecord {
    std::map<std::string, std::string> Fields;
    std::string Block;
};

// The record one member holds; its framing (version line, CRLF fields, exact
// Content-Length, closing CRLF CRLF) is checked.
inline WarcTestRecord ParseWarcRecord(const std::string& member) {
    WarcTestRecord record;
    EXPECT_EQ(member.substr(0, 10), "WARC/1.1\r\n");
    const std::size_t headEnd = member.find("\r\n\r\n");
    std::size_t at = 10;
    while (at < headEnd) {
        const std::size_t end = member.find("\r\n", at);
        const std::string line = member.substr(at, end - at);
        const std::size_t colon = line.find(": ");
        EXPECT_NE(colon, std::string::npos) << line;
        record.Fields[line.substr(0, colon)] = line.substr(colon + 2);
        at = end + 2;
    }
    const std::size_t length = std::stoul(record.Fields["Content-Length"]);
    record.Block = member.substr(headEnd + 4, length);
    EXPECT_EQ(member.size(), headEnd + 4 + length + 4);
    EXPECT_EQ(member.substr(headEnd + 4 + length), "\r\n\r\n");
    return record;
}

}  // namespace arkivo::testing
