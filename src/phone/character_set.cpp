#include "phone/character_set.h"

#include <cctype>
#include <charconv>

namespace tastolink {
namespace {

void AppendUtf8(std::string& text, char32_t point) {
    auto byte = [&](unsigned value) { text += static_cast<char>(value); };
    if (point < 0x80) {
        byte(point);
    } else if (point < 0x800) {
        byte(0xc0 | point >> 6);
        byte(0x80 | (point & 0x3f));
    } else if (point < 0x10000) {
        byte(0xe0 | point >> 12);
        byte(0x80 | (point >> 6 & 0x3f));
        byte(0x80 | (point & 0x3f));
    } else {
        byte(0xf0 | point >> 18);
        byte(0x80 | (point >> 12 & 0x3f));
        byte(0x80 | (point >> 6 & 0x3f));
        byte(0x80 | (point & 0x3f));
    }
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xd800 && unit < 0xdc00; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xdc00 && unit < 0xe000; }

}  // namespace

std::optional<std::string> Utf8FromUcs2Hex(std::string_view hex) {
    if (hex.size() % 4 != 0) return std::nullopt;
    std::string text;
    char32_t high = 0;  // a high surrogate waiting for its low half
    for (std::size_t at = 0; at < hex.size(); at += 4) {
        unsigned unit = 0;
        const char* end = hex.data() + at + 4;
        // from_chars would take a sign; the digits are checked one by one first.
        for (const char* digit = hex.data() + at; digit != end; ++digit)
            if (!std::isxdigit(static_cast<unsigned char>(*digit))) return std::nullopt;
        std::from_chars(hex.data() + at, end, unit, 16);
        if (high != 0) {
            if (!IsLowSurrogate(unit)) return std::nullopt;
            AppendUtf8(text, 0x10000 + ((high - 0xd800) << 10) + (unit - 0xdc00));
            high = 0;
        } else if (IsHighSurrogate(unit)) {
            high = unit;
        } else if (IsLowSurrogate(unit)) {
            return std::nullopt;
        } else {
            AppendUtf8(text, unit);
        }
    }
    if (high != 0) return std::nullopt;
    return text;
}

}  // namespace tastolink
