#include "settings/integer_text.h"

#include <gtest/gtest.h>

#include <optional>

namespace tastolink {

// The fuzz target holds the conversion to a reference model; these values, written out,
// check the model itself where its rules are unusual.
TEST(IntegerText, ParsesOrRefusesTheWholeText) {
    constexpr std::optional<std::int32_t> kNo, kMin = INT32_MIN;
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"   +75", 75},       {"-2147483648", kMin}, {"2147483648", kNo}, {"0000000000042", 42},
        {"75 ", kNo},         {"\t1", kNo},          {"$FFFFFFFF", -1},   {"-$FFFFFFFF", 1},
        {"-$80000000", kMin}, {" 0x0000000fF", 255}, {"$100000000", kNo}, {"00x1", kNo},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseInteger(text), value) << '"' << text << '"';
}

}  // namespace tastolink
