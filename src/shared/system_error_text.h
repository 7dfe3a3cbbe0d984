#pragma once

#include <string>
#include <string_view>

namespace tastolink {

// The system's text for an error without its trailing blanks, line breaks and full stops, so
// that a message reads as one sentence with it.
std::string TrimSystemErrorText(std::string_view systemText);

}  // namespace tastolink
