#include "settings/line_buffer.h"

#include <gtest/gtest.h>

namespace tastolink {

using namespace std::string_literals;

// Every break (CR LF, lone CR, lone LF) ends a line and is saved as CR LF; a zero byte ends
// the content; a line is never wrapped. The lines are written here joined by "|". That no
// line holds a break and a saved text loads back unchanged is held by the fuzz target.
TEST(LineBuffer, SplitsAtEveryBreakAndSavesWithCrLf) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"a\r\nb\r\n", "a|b|"},
        {"a\rb\n", "a|b|"},
        {"a\n\rb", "a||b"},
        {"a\r\r\nb", "a||b"},
        {" a \r\nb\0c\r\nd"s, " a |b"},
        {std::string(70000, 'x'), std::string(70000, 'x')},
    };
    for (const auto& [bytes, lines] : cases) {
        LineBuffer buffer;
        buffer.Load(bytes);
        std::string seen, text;
        for (std::size_t k = 0; k < buffer.LineCount(); ++k) seen += (k ? "|" : "") + buffer.Line(k);
        for (char c : lines) text += c == '|' ? "\r\n" : std::string(1, c);
        EXPECT_EQ(seen, lines) << bytes.substr(0, 20);
        EXPECT_EQ(buffer.Text(), text) << bytes.substr(0, 20);
    }
}

}  // namespace tastolink
