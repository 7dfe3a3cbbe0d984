// The text-to-number conversion against its rules written out plainly, fed arbitrary texts.
// A difference aborts, so that libFuzzer keeps the input.

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>

#include "settings/integer_text.h"

namespace {

// Blanks, a sign, a prefix that picks the base, then only digits of that base.
std::optional<std::int32_t> ReferenceInteger(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    const bool minus = text.starts_with('-');
    if (minus || text.starts_with('+')) text.remove_prefix(1);
    int base = 10;
    for (std::string_view prefix : {"$", "x", "X", "0x", "0X"}) {
        if (text.starts_with(prefix)) {
            base = 16;
            text.remove_prefix(prefix.size());
            break;
        }
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    // Hexadecimal: the 32 bits as two's complement, a minus negating them modulo 2^32.
    if (base == 16) {
        if (magnitude > 0xFFFFFFFF) return std::nullopt;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(minus ? 0 - magnitude : magnitude));
    }
    if (magnitude > (minus ? 0x80000000u : 0x7FFFFFFFu)) return std::nullopt;
    return static_cast<std::int32_t>(minus ? -static_cast<std::int64_t>(magnitude) : magnitude);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (tastolink::ParseInteger(text) != ReferenceInteger(text)) std::abort();
    return 0;
}
