#include "capture/repeat_scan.h"

#include <gtest/gtest.h>

#include <vector>

#include "settings/settings_test_support.h"

namespace tastolink {
namespace {

using Rows = std::vector<int>;

// Selectors are named by ComboBox number: row 1 has 1 and 11, row 5 has 5 and 15, row 11 has
// 21 and 31, row 26 has 52 and 53. Rows are counted from 1.
class RepeatScanTest : public ::testing::Test {
protected:
    Rows Scan(const std::function<void(int row)>& onPress = nullptr) {
        Rows rows;
        RunRepeatScan(held, selectors, [&](int row) {
            rows.push_back(row + 1);
            if (onPress) onPress(row + 1);
        });
        return rows;
    }

    HeldKeyTable held;
    FakeSelectors selectors;
};

// Names match exactly: "a", " A", "A " and "num1" press nothing.
TEST_F(RepeatScanTest, PressesRowsInOrderAndWithinARowKeysInPcKeyOrder) {
    selectors.texts = {{53, "A"}, {1, "B"}, {15, "A"}, {11, "F2"}, {21, "Space"}, {31, "Space"},
                       {52, "B"}, {2, "a"}, {3, " A"}, {4, "A "},  {6, "num1"}};
    EXPECT_TRUE(Scan().empty());
    EXPECT_EQ(selectors.reads, 0) << "no text is read while no key is held";
    for (int code : {65, 66, 113, 32, 97}) held.KeyDown(code);  // A, B, F2, Space, Num1
    // Row 1 twice (F2 before B), the same key in both selectors of row 11 once.
    EXPECT_EQ(Scan(), (Rows{1, 1, 5, 11, 26, 26}));
}

// A press may change a binding or release a key (a box took the keyboard); the scan goes on
// with what it finds at each later check.
TEST_F(RepeatScanTest, ReadsTextsAndFlagsAtEachCheck) {
    selectors.texts = {{1, "A"}, {2, "A"}, {3, "A"}, {4, "A"}};
    held.KeyDown('A');
    const auto press = [&](int row) {
        if (row == 1) selectors.texts[2] = "B";
        if (row == 3) held.KeyUp('A');
    };
    EXPECT_EQ(Scan(press), (Rows{1, 3}));
}

}  // namespace
}  // namespace tastolink
