#include "search/folded_find.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace arkivo {
namespace {

inline char FoldByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return static_cast<char>(byte + ((static_cast<unsigned char>(byte - 'A') < 26) << 5));
}

// Whether the folded bytes at at equal text.
inline bool MatchesAt(const char* at, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (FoldByte(at[i]) != text[i]) {
            return false;
        }
    }
    return true;
}

#if defined(__SSE2__)
// The sixteen bytes with A to Z turned into a to z.
inline __m128i FoldBlock(__m128i bytes) {
    const __m128i offset = _mm_sub_epi8(bytes, _mm_set1_epi8('A'));
    const __m128i isUpper = _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(25)), offset);
    return _mm_or_si128(bytes, _mm_and_si128(isUpper, _mm_set1_epi8(0x20)));
}
#endif

}  // namespace

bool FindFolded(const char* bytes, std::size_t size, std::string_view foldedText) {
    const std::size_t length = foldedText.size();
    if (length == 0) {
        return true;
    }
    if (size < length) {
        return false;
    }
    const std::size_t lastStart = size - length;
    std::size_t start = 0;
#if defined(__SSE2__)
    // Sixteen starts at a time: a start is a candidate when the text's first and last
    // bytes both match there; only candidates are compared whole.
    const __m128i first = _mm_set1_epi8(foldedText.front());
    const __m128i last = _mm_set1_epi8(foldedText.back());
    for (; start + 16 <= lastStart + 1; start += 16) {
        const __m128i heads =
            FoldBlock(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + start)));
        const __m128i tails = FoldBlock(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + start + length - 1)));
        auto candidates = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(heads, first), _mm_cmpeq_epi8(tails, last))));
        while (candidates != 0) {
            const auto offset = static_cast<std::size_t>(__builtin_ctz(candidates));
            if (MatchesAt(bytes + start + offset, foldedText)) {
                return true;
            }
            candidates &= candidates - 1;
        }
    }
#endif
    for (; start <= lastStart; ++start) {
        if (MatchesAt(bytes + start, foldedText)) {
            return true;
        }
    }
    return false;
}

}  // namespace arkivo
