#pragma once

#include <cstdint>

namespace arkivo {

// number * numerator / denominator computed in 64 bits and rounded to the nearest
// whole number, halves away from zero (as the Windows call does); -1 when the
// denominator is 0 or the result does not fit 32 bits.
std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator);

}  // namespace arkivo
