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
