#include "settings/integer_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tastolink {
namespace {

struct ParseCase {
    std::string text;
    std::optional<std::int32_t> value;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class IntegerText : public testing::TestWithParam<ParseCase> {};

TEST_P(IntegerText, ParsesOrRefusesTheWholeText) {
    EXPECT_EQ(ParseInteger(GetParam().text), GetParam().value);
}

constexpr std::optional<std::int32_t> kNo, kMin = INT32_MIN;

INSTANTIATE_TEST_SUITE_P(Decimal, IntegerText,
                         testing::Values(ParseCase{"0", 0}, ParseCase{" 75", 75}, ParseCase{"   +75", 75},
                                         ParseCase{"-1", -1}, ParseCase{"-0", 0},
                                         ParseCase{"00000000000000000042", 42},
                                         ParseCase{"2147483647", INT32_MAX}, ParseCase{"-2147483648", kMin},
                                         ParseCase{"2147483648", kNo}, ParseCase{"-2147483649", kNo},
                                         ParseCase{"99999999999999999999", kNo}, ParseCase{"75 ", kNo},
                                         ParseCase{"", kNo}, ParseCase{"   ", kNo}, ParseCase{"+", kNo},
                                         ParseCase{"+-1", kNo}, ParseCase{"- 1", kNo}, ParseCase{"\t1", kNo},
                                         ParseCase{"1e3", kNo}, ParseCase{"1 2", kNo}));

// A sign applies to the 32 bits of a hexadecimal number, modulo 2^32.
INSTANTIATE_TEST_SUITE_P(Hexadecimal, IntegerText,
                         testing::Values(ParseCase{"$64", 100}, ParseCase{"x64", 100}, ParseCase{"X64", 100},
                                         ParseCase{"0x64", 100}, ParseCase{" 0Xff", 255},
                                         ParseCase{"$aBc", 0xABC}, ParseCase{"$FFFFFFFF", -1},
                                         ParseCase{"$80000000", kMin}, ParseCase{"0x0000000FF", 255},
                                         ParseCase{"-$10", -16}, ParseCase{"-$FFFFFFFF", 1},
                                         ParseCase{"-$80000000", kMin}, ParseCase{"$100000000", kNo},
                                         ParseCase{"0x", kNo}, ParseCase{"-$", kNo}, ParseCase{"$G", kNo},
                                         ParseCase{"$ 1", kNo}, ParseCase{"$1 ", kNo}, ParseCase{"00x1", kNo},
                                         ParseCase{"0x-1", kNo}, ParseCase{"$$1", kNo}));

}  // namespace
}  // namespace tastolink
