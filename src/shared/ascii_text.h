#pragma once

#include <string>
#include <string_view>

namespace tastolink {

// The words the program reads from the phone, the system and its own files are ASCII: only
// 'A' to 'Z' and 'a' to 'z' are letters here, whatever the locale; other bytes stand as they are.

// `text` without the blanks (spaces and tabs) at either end.
std::string_view TrimmedBlanks(std::string_view text);

bool EqualIgnoringAsciiCase(std::string_view one, std::string_view other);
// `text` with its small letters made capitals, for ordering and searching without regard to case.
std::string AsciiUppercase(std::string_view text);

}  // namespace tastolink
