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
    Rows Scan() {
        Rows rows;
        RunRepeatScan(held, selectors, [&](int row) { rows.push_back(row + 1); });
        return rows;
    }

    HeldKeyTable held;
    FakeSelectors selectors;
};

TEST_F(RepeatScanTest, ReadsNoTextWhenNoKeyIsHeld) {
    selectors.texts[1] = "A";
    EXPECT_TRUE(Scan().empty());
    EXPECT_EQ(selectors.reads, 0);
}

TEST_F(RepeatScanTest, PressesRowsInOrderAndWithinARowKeysInPcKeyOrder) {
    selectors.texts = {{53, "A"}, {1, "B"}, {15, "A"}, {11, "F2"}, {21, "Space"}, {31, "Space"}, {52, "B"}};
    held.KeyDown('A');
    held.KeyDown('B');
    held.KeyDown(113);  // F2
    held.KeyDown(32);
    // Row 1 twice (F2 before B), the same key in both selectors of row 11 once.
    EXPECT_EQ(Scan(), (Rows{1, 1, 5, 11, 26, 26}));
}

TEST_F(RepeatScanTest, NamesMatchExactly) {
    held.KeyDown('A');
    held.KeyDown(97);  // Num1
    for (const char* text : {"a", " A", "A ", "", "1", "Num 1", "num1"}) {
        selectors.texts[1] = text;
        EXPECT_TRUE(Scan().empty()) << '"' << text << '"';
    }
}

// A press may change a binding or release a key (a box took the keyboard); the scan goes on
// with what it finds at each later check.
TEST_F(RepeatScanTest, ReadsTextsAndFlagsAtEachCheck) {
    selectors.texts = {{1, "A"}, {2, "A"}, {3, "A"}};
    held.KeyDown('A');
    Rows rows;
    RunRepeatScan(held, selectors, [&](int row) {
        rows.push_back(row + 1);
        if (row == 0) selectors.texts[2] = "B";
        if (row == 2) held.KeyUp('A');
    });
    EXPECT_EQ(rows, (Rows{1, 3}));
}

}  // namespace
}  // namespace tastolink
