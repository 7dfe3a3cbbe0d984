#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tastolink::fuzz {

// A broken invariant ends the run as a crash, so that libFuzzer keeps the input.
inline void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline bool HasLineBreakOrZero(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// The line breaks before the first zero byte: CR LF, a lone CR and a lone LF count one each.
inline std::size_t LineBreaks(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        breaks += bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'));
    return breaks;
}

}  // namespace tastolink::fuzz
