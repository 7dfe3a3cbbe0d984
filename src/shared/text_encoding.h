#pragma once

#include <string>
#include <string_view>

namespace tastolink {

// The one place where text changes encoding. The core speaks UTF-8 for texts shown to the
// user and raw bytes of the system's ANSI code page for file contents; Windows speaks UTF-16.
// A byte or unit that has no counterpart becomes the system's replacement character.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
std::wstring WideFromAnsi(std::string_view ansi);
std::string AnsiFromWide(std::wstring_view wide);

}  // namespace tastolink
