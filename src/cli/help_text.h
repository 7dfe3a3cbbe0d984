#pragma once

#include <string_view>

namespace tastolink {

// What --help prints; the manual page is made from it (help2man), so that the two never differ.
extern const std::string_view kHelpText;

}  // namespace tastolink
