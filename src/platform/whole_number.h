#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace arkivo {

// The text as a signed 32-bit decimal number: an optional "+" or "-" and at least
// one digit, nothing else; std::nullopt when it is no such number or does not fit.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

}  // namespace arkivo
