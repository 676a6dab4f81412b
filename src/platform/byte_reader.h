#pragma once
// Bounds-checked reads of little- and big-endian fields from a byte buffer. Every
// binary format reader goes through this: a field that does not lie wholly inside
// the buffer reads as std::nullopt, never past the end.

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace arkivo {

class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    std::string_view bytes() const { return bytes_; }

    // True when [offset, offset + count) lies inside the buffer.
    bool Contains(std::uint64_t offset, std::uint64_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    std::optional<std::uint8_t> U8(std::uint64_t offset) const {
        if (!Contains(offset, 1)) {
            return std::nullopt;
        }
        return static_cast<std::uint8_t>(bytes_[offset]);
    }
    std::optional<std::uint16_t> U16LE(std::uint64_t offset) const {
        return Le<std::uint16_t>(offset);
    }
    std::optional<std::uint32_t> U32LE(std::uint64_t offset) const {
        return Le<std::uint32_t>(offset);
    }
    std::optional<std::uint64_t> U64LE(std::uint64_t offset) const {
        return Le<std::uint64_t>(offset);
    }
    std::optional<std::uint16_t> U16BE(std::uint64_t offset) const {
        return Be<std::uint16_t>(offset);
    }
    std::optional<std::uint32_t> U32BE(std::uint64_t offset) const {
        return Be<std::uint32_t>(offset);
    }

    std::optional<std::int32_t> I32LE(std::uint64_t offset) const {
        const auto value = U32LE(offset);
        if (!value) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(*value);
    }

    std::optional<double> F64LE(std::uint64_t offset) const {
        const auto raw = U64LE(offset);
        if (!raw) {
            return std::nullopt;
        }
        double value;
        std::memcpy(&value, &*raw, sizeof value);
        return value;
    }

    // count bytes at offset; std::nullopt when they are not all inside.
    std::optional<std::string_view> Slice(std::uint64_t offset, std::uint64_t count) const {
        if (!Contains(offset, count)) {
            return std::nullopt;
        }
        return bytes_.substr(offset, count);
    }

    // The bytes at offset up to (not including) the first NUL, looking at most
    // maxCount bytes and never past the end of the buffer.
    std::string CString(std::uint64_t offset, std::uint64_t maxCount) const {
        if (offset >= bytes_.size()) {
            return {};
        }
        std::string_view rest = bytes_.substr(offset);
        if (rest.size() > maxCount) {
            rest = rest.substr(0, maxCount);
        }
        return std::string(rest.substr(0, rest.find('\0')));
    }

  private:
    template <typename T>
    std::optional<T> Le(std::uint64_t offset) const {
        if (!Contains(offset, sizeof(T))) {
            return std::nullopt;
        }
        T value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            value |= static_cast<T>(static_cast<T>(static_cast<std::uint8_t>(bytes_[offset + i]))
                                    << (8 * i));
        }
        return value;
    }
    template <typename T>
    std::optional<T> Be(std::uint64_t offset) const {
        if (!Contains(offset, sizeof(T))) {
            return std::nullopt;
        }
        T value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            value = static_cast<T>((value << 8) | static_cast<std::uint8_t>(bytes_[offset + i]));
        }
        return value;
    }

    std::string_view bytes_;
};

// Appends little-endian fields to a byte string (writers and test fixtures).
inline void PutU16LE(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}
inline void PutU32LE(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}
inline void PutU64LE(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}
inline void PutF64LE(std::string& out, double value) {
    std::uint64_t raw;
    std::memcpy(&raw, &value, sizeof raw);
    PutU64LE(out, raw);
}

}  // namespace arkivo
