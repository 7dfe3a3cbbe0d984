#include "settings/integer_text.h"

#include <algorithm>
#include <string>

#include "shared/decimal_number.h"

namespace tastolink {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::uint32_t> ParseHex(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }

    std::optional<std::uint32_t> bits;
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
        bits = ParseHex(text.substr(1));
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        bits = ParseHex(text.substr(2));
    } else {
        bits = DecimalNumber<std::uint32_t>(text, negative ? 0x80000000u : 0x7FFFFFFFu);  // the magnitude
    }
    if (!bits) return std::nullopt;
    // Negation and the two's-complement reading are both taken modulo 2^32.
    std::uint32_t value = negative ? 0u - *bits : *bits;
    return static_cast<std::int32_t>(value);
}

}  // namespace tastolink
