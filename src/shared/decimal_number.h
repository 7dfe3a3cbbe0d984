#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace tastolink {

// A whole number written in decimal digits only (no sign, no blank), from 0 to `most`.
template <typename Number>
std::optional<Number> DecimalNumber(std::string_view text, Number most) {
    Number value{};
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > most) return std::nullopt;
    return value;
}

}  // namespace tastolink
