#include "settings/integer_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tastolink {
namespace {

using Value = std::optional<std::int32_t>;

TEST(IntegerText, ParsesOrRefusesTheWholeText) {
    constexpr Value kNo, kMin = INT32_MIN;
    // clang-format off
    const std::pair<const char*, Value> decimal[] = {
        {"0", 0},       {" 75", 75},  {"   +75", 75}, {"-1", -1},   {"-0", 0},    {"00000000000000000042", 42},
        {"2147483647", INT32_MAX},    {"-2147483648", kMin},        {"2147483648", kNo}, {"-2147483649", kNo},
        {"99999999999999999999", kNo}, {"75 ", kNo},  {"", kNo},    {"   ", kNo}, {"+", kNo}, {"+-1", kNo},
        {"- 1", kNo},   {"\t1", kNo}, {"1e3", kNo},   {"1 2", kNo},
    };
    // A sign applies to the 32 bits of a hexadecimal number, modulo 2^32.
    const std::pair<const char*, Value> hexadecimal[] = {
        {"$64", 100},   {"x64", 100},  {"X64", 100},  {"0x64", 100}, {" 0Xff", 255}, {"$aBc", 0xABC},
        {"$FFFFFFFF", -1}, {"$80000000", kMin}, {"0x0000000FF", 255}, {"-$10", -16}, {"-$FFFFFFFF", 1},
        {"-$80000000", kMin}, {"$100000000", kNo}, {"0x", kNo}, {"-$", kNo}, {"$G", kNo}, {"$ 1", kNo},
        {"$1 ", kNo},   {"00x1", kNo}, {"0x-1", kNo}, {"$$1", kNo},
    };
    // clang-format on
    for (const auto& [text, value] : decimal) EXPECT_EQ(ParseInteger(text), value) << '"' << text << '"';
    for (const auto& [text, value] : hexadecimal) EXPECT_EQ(ParseInteger(text), value) << '"' << text << '"';
}

}  // namespace
}  // namespace tastolink
