#include "shared/unicode_text.h"

#include <utf8.h>

#include <cstdio>

namespace tastolink {

std::optional<std::u32string> CharactersOf(std::string_view utf8) {
    if (!utf8::is_valid(utf8)) return std::nullopt;
    return utf8::utf8to32(utf8);
}

std::optional<std::size_t> CharactersBeforeInvalidUtf8(std::string_view utf8) {
    const std::size_t invalid = utf8::find_invalid(utf8);
    if (invalid == std::string_view::npos) return std::nullopt;
    return utf8::utf8to32(utf8.substr(0, invalid)).size();
}

std::string Utf8Of(std::u32string_view characters) { return utf8::utf32to8(characters); }

std::u16string Utf16Of(std::u32string_view characters) { return utf8::utf8to16(Utf8Of(characters)); }

std::string CodePointName(char32_t c) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

char32_t FoldedCase(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if ((c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;  // Ѐ to Џ: Ё, Є, Ї, Ў and the Serbian letters
    // Latin Extended-A and the Cyrillic letters past Я come in pairs, the capital first.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) || (c >= 0x460 && c <= 0x481) ||
        (c >= 0x48A && c <= 0x4BF))
        return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c + (c & 1);
    return c;
}

std::u32string Folded(std::u32string_view characters) {
    std::u32string folded(characters);
    for (char32_t& c : folded) c = FoldedCase(c);
    return folded;
}

std::string Quotable(std::string_view bytes, std::size_t most) {
    std::string fit;
    utf8::replace_invalid(bytes.begin(), bytes.end(), std::back_inserter(fit), U'\uFFFD');
    std::u32string characters = utf8::utf8to32(fit);
    for (char32_t& c : characters)
        if (IsControlCharacter(c)) c = U'\uFFFD';
    if (characters.size() > most) characters.replace(most, std::u32string::npos, U"…");
    return Utf8Of(characters);
}

}  // namespace tastolink
