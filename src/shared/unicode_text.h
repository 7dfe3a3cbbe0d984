#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tastolink {

// The core's texts are UTF-8. These read them as characters, never trusting the bytes.

// The characters of a valid UTF-8 text; nothing for any other bytes.
std::optional<std::u32string> CharactersOf(std::string_view utf8);
// How many characters of `utf8` come before its first byte that is not valid UTF-8; nothing
// when every byte is.
std::optional<std::size_t> CharactersBeforeInvalidUtf8(std::string_view utf8);
std::string Utf8Of(std::u32string_view characters);
// UTF-16 units, a character past U+FFFF as its surrogate pair.
std::u16string Utf16Of(std::u32string_view characters);

// C0 and C1 controls and DEL: no text shown or sent holds one.
constexpr bool IsControlCharacter(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

// "U+000D": how a message names a character it can't show.
std::string CodePointName(char32_t c);

// The small letter of a capital, for comparing without regard to case: Latin (with Latin-1),
// Greek and Cyrillic, the scripts of the phones this program meets; other characters unchanged.
char32_t FoldedCase(char32_t c);
std::u32string Folded(std::u32string_view characters);

// A text of any bytes made fit to quote in a message: bytes that are not UTF-8 and control
// characters as U+FFFD, and at most `most` characters, with "…" after a cut.
std::string Quotable(std::string_view bytes, std::size_t most);

}  // namespace tastolink
