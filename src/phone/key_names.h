#pragma once

#include <array>
#include <string>
#include <string_view>

#include "phone/phone_key_table.h"

namespace tastolink {

// The name of a phone key as the status line shows it: the digit, star or hash itself, otherwise
// the row label without its dots ("Вверх"); "долго" added for a long press.
std::string KeyName(const PhoneKey& key, bool longPress = false);
// The name of the key a code presses ("5", ":X", a file's own code): the name of its row where a
// row sends it, else the code itself.
std::string KeyNameOfCode(std::string_view code, bool longPress = false);
// The same under other codes of the rows (a profile's): the name of the row that sends it there.
std::string KeyNameOfCode(std::string_view code, const std::array<std::string, kPhoneKeyCount>& rowCodes);

}  // namespace tastolink
