#include "settings/line_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tastolink {
namespace {

using namespace std::string_literals;

// Every break (CR LF, lone CR, lone LF) ends a line and is saved as CR LF; a zero byte ends
// the content. Lines are written joined by "|". That lines hold no break and load back
// unchanged is held by the fuzz target.
TEST(LineBuffer, SplitsAtEveryBreakAndSavesWithCrLf) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},           {"a\r\nb\r\n", "a|b|"}, {"a\rb\n", "a|b|"},
        {"a\n\rb", "a||b"}, {"a\r\r\nb", "a||b"},   {" a \r\nb\0c\r\nd"s, " a |b"},
    };
    for (const auto& [bytes, lines] : cases) {
        LineBuffer buffer;
        buffer.Load(bytes);
        std::string seen, text;
        for (std::size_t k = 0; k < buffer.LineCount(); ++k) seen += (k ? "|" : "") + buffer.Line(k);
        for (char c : lines) text += c == '|' ? "\r\n" : std::string(1, c);
        EXPECT_EQ(seen, lines) << bytes;
        EXPECT_EQ(buffer.Text(), text) << bytes;
    }
    LineBuffer longLine;
    longLine.Load(std::string(70000, 'x'));
    EXPECT_EQ(longLine.LineCount(), 1u);
}

}  // namespace
}  // namespace tastolink
