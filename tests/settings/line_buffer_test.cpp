#include "settings/line_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tastolink {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// Every break (CR LF, lone CR, lone LF) ends a line and is saved as CR LF; a zero byte ends
// the content; a new load replaces everything.
TEST(LineBuffer, SplitsAtEveryBreakAndSavesWithCrLf) {
    // clang-format off
    const std::pair<std::string, Lines> cases[] = {
        {"", {""}},                       {"a", {"a"}},                     {"a\r\nb\r\n", {"a", "b", ""}},
        {"a\rb\r", {"a", "b", ""}},       {"a\nb\n", {"a", "b", ""}},       {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},     {"\r\n\r\n", {"", "", ""}},       {" a \tb ", {" a \tb "}},
        {"a\r\nb\0c\r\nd"s, {"a", "b"}},  {"\0a"s, {""}},               {std::string(70000, 'x'), {std::string(70000, 'x')}},
    };
    // clang-format on
    for (const auto& [bytes, expected] : cases) {
        LineBuffer buffer;
        buffer.Load("previous\r\ntext\r\nlonger");
        buffer.Load(bytes);
        Lines lines;
        std::string text;
        for (std::size_t k = 0; k < buffer.LineCount(); ++k) {
            lines.push_back(buffer.Line(k));
            text += (k ? "\r\n" : "") + lines.back();
        }
        EXPECT_EQ(lines, expected) << bytes;
        EXPECT_EQ(buffer.Text(), text) << bytes;
    }
}

}  // namespace
}  // namespace tastolink
