#include "capture/held_key_table.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

TEST(HeldKeyTable, EveryCodeMarksAtMostItsOwnKey) {
    for (int code = 0; code <= 0xFFFF; ++code) {
        HeldKeyTable table;
        table.KeyDown(static_cast<std::uint16_t>(code));
        auto index = PcKeyIndexForCode(static_cast<std::uint16_t>(code));
        for (int key = 0; key < kPcKeyCount; ++key)
            ASSERT_EQ(table.IsHeld(key), index && *index == key) << "code " << code << " key " << key;
        table.KeyUp(static_cast<std::uint16_t>(code));
        ASSERT_FALSE(table.AnyHeld()) << "code " << code;
    }
}
}  // namespace
}  // namespace tastolink

namespace tastolink {
namespace {

TEST(HeldKeyTable, KeysAreIndependentAndRepeatsChangeNothing) {
    HeldKeyTable table;
    table.KeyUp(16);  // a key-up with no key-down before it
    EXPECT_FALSE(table.AnyHeld());
    table.KeyDown(16);  // Shift
    table.KeyDown('A');
    table.KeyDown('A');  // auto-repeat
    table.KeyUp('A');
    EXPECT_TRUE(table.IsHeld(22));
    EXPECT_FALSE(table.IsHeld(32));
    table.ReleaseAll();
    EXPECT_FALSE(table.AnyHeld());
}

}  // namespace
}  // namespace tastolink
