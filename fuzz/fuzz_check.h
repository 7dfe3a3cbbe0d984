#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace tastolink::fuzz {

// A broken invariant ends the run as a crash, so that libFuzzer keeps the input.
inline void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// The lines of a settings file, worked out apart from the code under test: the content ends
// at the first zero byte, CR LF and then every lone CR become LF, and LF separates lines, so
// a text with n line breaks has n + 1 lines.
inline std::vector<std::string> ReferenceLines(std::string_view bytes) {
    std::string text(bytes.substr(0, bytes.find('\0')));
    std::string unified;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) continue;  // its LF ends the line
        unified += text[i] == '\r' ? '\n' : text[i];
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = unified.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(unified.substr(start, end - start));
    lines.push_back(unified.substr(start));
    return lines;
}

// The number of line breaks of the content before the first zero byte.
inline std::size_t LineBreaks(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')))
            ++breaks;
    return breaks;
}

inline std::string JoinedByCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t k = 0; k < lines.size(); ++k) text += (k ? "\r\n" : "") + lines[k];
    return text;
}

inline bool HasLineBreakOrZero(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace tastolink::fuzz
