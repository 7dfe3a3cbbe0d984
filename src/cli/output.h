#pragma once

#include <cstdio>
#include <string_view>

namespace tastolink {

// A message on the standard error: "tastolink: Cannot open /dev/ttyACM0: no such port".
inline void PrintError(std::string_view text) {
    std::fprintf(stderr, "tastolink: %.*s\n", static_cast<int>(text.size()), text.data());
}

// A line on the standard output, out at once: a script reads each as it comes.
inline void PrintLine(std::string_view text) {
    std::fprintf(stdout, "%.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stdout);
}

}  // namespace tastolink
