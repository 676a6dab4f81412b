#pragma once
// The hash an Internet Explorer cache index uses to file a location string in its
// hash tables. The index keeps the upper 26 bits of the hash in a slot's key (the
// low 6 bits hold the slot's flags) and uses the low 6 bits to choose one of 64
// buckets of 7 slots in each hash table.

#include <cstdint>
#include <string_view>

namespace arkivo {

// The 32-bit hash of a location as the index stores it (without its NUL). One
// trailing "/" is left out of the hash.
std::uint32_t UrlCacheHash(std::string_view location);

}  // namespace arkivo
