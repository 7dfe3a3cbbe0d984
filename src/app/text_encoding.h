#pragma once

#include <string>
#include <string_view>

namespace tastolink {

// The core speaks UTF-8 for texts shown to the user and ANSI bytes for file contents;
// the window speaks UTF-16.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
std::wstring WideFromAnsi(std::string_view ansi);
std::string AnsiFromWide(std::wstring_view wide);

}  // namespace tastolink
