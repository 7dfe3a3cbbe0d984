#include "settings/line_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tastolink {
namespace {

using namespace std::string_literals;

struct LoadCase {
    std::string bytes;
    std::vector<std::string> lines;
};

class LineBufferLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(LineBufferLoad, SplitsAtEveryBreakAndSavesWithCrLf) {
    LineBuffer buffer;
    buffer.Load("previous\r\ntext\r\nlonger");
    buffer.Load(GetParam().bytes);
    std::vector<std::string> lines;
    std::string text;
    for (std::size_t k = 0; k < buffer.LineCount(); ++k) {
        lines.push_back(buffer.Line(k));
        text += (k ? "\r\n" : "") + lines.back();
    }
    EXPECT_EQ(lines, GetParam().lines);
    EXPECT_EQ(buffer.Text(), text);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, LineBufferLoad,
    testing::Values(LoadCase{"", {""}}, LoadCase{"a", {"a"}}, LoadCase{"a\r\nb\r\n", {"a", "b", ""}},
                    LoadCase{"a\r\nb", {"a", "b"}}, LoadCase{"a\rb\r", {"a", "b", ""}},
                    LoadCase{"a\nb\n", {"a", "b", ""}}, LoadCase{"a\n\rb", {"a", "", "b"}},
                    LoadCase{"a\r\r\nb", {"a", "", "b"}}, LoadCase{"a\n\nb", {"a", "", "b"}},
                    LoadCase{"\r\n\r\n", {"", "", ""}}, LoadCase{" a \tb ", {" a \tb "}},
                    LoadCase{"a\r\nb\0c\r\nd"s, {"a", "b"}}, LoadCase{"\0a"s, {""}}));

TEST(LineBuffer, MissingLinesReadEmptyAndAreNeverAdded) {
    LineBuffer buffer;
    EXPECT_EQ(buffer.LineCount(), 1u);
    buffer.SetLine(1, "lost");
    buffer.SetLine(0, "kept");
    EXPECT_EQ(buffer.Text(), "kept");
    buffer.Load("a\r\nb");
    buffer.SetLine(2, "c");
    buffer.SetLine(1, "");
    EXPECT_EQ(buffer.Line(2), "");
    EXPECT_EQ(buffer.Text(), "a\r\n");
}

TEST(LineBuffer, LargeTextRoundTrips) {
    std::string bytes;
    for (int k = 0; k < 1'000'000; ++k) bytes += std::to_string(k) + "\r\n";
    bytes += std::string(1'000'000, 'x');  // one long line stays one line
    LineBuffer buffer;
    buffer.Load(bytes);
    ASSERT_EQ(buffer.LineCount(), 1'000'001u);
    EXPECT_EQ(buffer.Line(999'999), "999999");
    EXPECT_EQ(buffer.Text(), bytes);
}

}  // namespace
}  // namespace tastolink
