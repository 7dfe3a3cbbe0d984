#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tastolink {

// The whole text as a signed 32-bit integer, or nothing:
//   leading spaces (only ' '), an optional '+' or '-', then either
//   - a hexadecimal number after "$", "x", "X", "0x" or "0X": at most 8 digits after its
//     leading zeros, its 32 bits read as two's complement ("$FFFFFFFF" is -1); a '-' then
//     negates that value modulo 2^32 ("-$10" is -16, "-$80000000" is -2147483648), or
//   - a decimal number from -2147483648 to 2147483647, sign included;
//   and nothing after the last digit, not even a space.
std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace tastolink
