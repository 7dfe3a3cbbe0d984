#include "capture/held_key_table.h"

#include <gtest/gtest.h>

#include <vector>

#include "capture/golden_pc_keys.h"

namespace tastolink {

// Across the whole 16-bit range a key-down marks the one key of that code, or none, and one
// key-up clears it however often the key repeated.
TEST(HeldKeyTable, EachCodeMarksOnlyItsOwnKeyInScanOrder) {
    ASSERT_EQ(std::size(golden::kPcKeys), static_cast<std::size_t>(kPcKeyCount));
    std::vector<int> keyOfCode(0x10000, -1);
    for (int index = 0; index < kPcKeyCount; ++index) {
        EXPECT_EQ(kPcKeys[index].keyName, golden::kPcKeys[index].name) << index;
        keyOfCode[golden::kPcKeys[index].code] = index;
    }
    for (int code = 0; code <= 0xFFFF; ++code) {
        HeldKeyTable table;
        table.KeyDown(static_cast<std::uint16_t>(code));
        table.KeyDown(static_cast<std::uint16_t>(code));
        for (int index = 0; index < kPcKeyCount; ++index)
            ASSERT_EQ(table.IsHeld(index), index == keyOfCode[code]) << "code " << code << " key " << index;
        table.KeyUp(static_cast<std::uint16_t>(code));
        ASSERT_FALSE(table.AnyHeld()) << "code " << code;
    }
}

}  // namespace tastolink
