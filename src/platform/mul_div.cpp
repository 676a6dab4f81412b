#include "platform/mul_div.h"

#include <cstdlib>
#include <limits>

namespace arkivo {

std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator) {
    if (denominator == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const std::uint64_t magnitude = static_cast<std::uint64_t>(std::llabs(product));
    const std::uint64_t divisor = static_cast<std::uint64_t>(std::llabs(denominator));
    const std::uint64_t rounded = (magnitude + divisor / 2) / divisor;
    if (rounded > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        return -1;
    }
    const auto result = static_cast<std::int32_t>(rounded);
    return negative ? -result : result;
}

}  // namespace arkivo
