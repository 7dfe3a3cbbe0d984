#include "capture/repeat_scan.h"

#include <gtest/gtest.h>

#include "settings/settings_test_support.h"

namespace tastolink {

// Selectors by ComboBox number: row 1 has 1 and 11, row 5 has 5 and 15, row 11 has 21 and 31,
// row 26 has 52 and 53. Rows are counted from 1.
TEST(RepeatScan, PressesRowsInOrderAndWithinARowKeysInPcKeyOrder) {
    HeldKeyTable held;
    FakeSelectors selectors;
    selectors.texts = {{1, "B"}, {11, "F2"}, {2, "a"},      {3, " A"},     {4, "A "}, {6, "num1"}, {15, "A"},
                       {7, "A"}, {8, "A"},   {21, "Space"}, {31, "Space"}, {52, "B"}, {53, "A"}};
    std::vector<int> rows;
    // A press may change a binding or release a key (a box took the keyboard): the scan goes
    // on with what it finds at each later check.
    const PressRow press = [&](int row) {
        rows.push_back(row + 1);
        if (row + 1 == 5) selectors.texts[7] = "C";
        if (row + 1 == 11) held.KeyUp('B');
    };
    RunRepeatScan(held, selectors, press);                      // no key held yet
    for (int code : {65, 66, 113, 32, 97}) held.KeyDown(code);  // A, B, F2, Space, Num1
    RunRepeatScan(held, selectors, press);
    // Row 1 twice (F2 before B), the same key in both selectors of row 11 once. Names match
    // exactly: "a", " A", "A " and "num1" press nothing.
    EXPECT_EQ(rows, (std::vector<int>{1, 1, 5, 8, 11, 26}));
}

}  // namespace tastolink
