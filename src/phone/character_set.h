#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tastolink {

// The character set a phone writes the texts of its commands and reports in, as AT+CSCS sets it.
enum class CharacterSet { Ira, Gsm, Latin1, Utf8, Ucs2 };

// UCS2 text as phones write it, four hexadecimal digits a UTF-16 unit ("041F0440"), in UTF-8;
// nothing for text that is not such hex, an unpaired surrogate among it.
std::optional<std::string> Utf8FromUcs2Hex(std::string_view hex);

}  // namespace tastolink
