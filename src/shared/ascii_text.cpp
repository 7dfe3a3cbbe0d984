#include "shared/ascii_text.h"

#include <algorithm>

namespace tastolink {
namespace {

constexpr std::string_view kBlanks = " \t";

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string_view TrimmedBlanks(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(kBlanks), text.size()));
    text.remove_suffix(text.size() - std::min(text.find_last_not_of(kBlanks) + 1, text.size()));
    return text;
}

bool EqualIgnoringAsciiCase(std::string_view one, std::string_view other) {
    return std::ranges::equal(one, other, [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
}

std::string AsciiUppercase(std::string_view text) {
    std::string upper(text);
    std::ranges::transform(upper, upper.begin(), AsciiUpper);
    return upper;
}

}  // namespace tastolink
