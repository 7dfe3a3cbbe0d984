#include "capture/repeat_scan.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "fake_selectors.h"
#include "link/phone_key_table.h"

namespace tastolink {
namespace {

class RepeatScanTest : public ::testing::Test {
protected:
    std::vector<int> Scan() {
        std::vector<int> rows;
        RunRepeatScan(held, selectors, [&](int row) { rows.push_back(row + 1); });
        return rows;
    }
    void Bind(int row, bool alternative, const std::string& name) {
        const PhoneKey& key = kPhoneKeyTable[row - 1];
        selectors.texts[alternative ? key.altSelector : key.mainSelector] = name;
    }

    HeldKeyTable held;
    FakeSelectors selectors;
};

TEST_F(RepeatScanTest, ReadsNoTextWhenNoKeyIsHeld) {
    Bind(1, false, "A");
    EXPECT_TRUE(Scan().empty());
    EXPECT_EQ(selectors.reads, 0);
}

TEST_F(RepeatScanTest, PressesRowsBeforeKeyIndex) {
    Bind(1, false, "B");
    Bind(2, false, "A");
    held.KeyDown('A');
    held.KeyDown('B');
    EXPECT_EQ(Scan(), (std::vector<int>{1, 2}));
}

TEST_F(RepeatScanTest, OneKeyBoundInSeveralRowsPressesEachInRowOrder) {
    Bind(5, true, "A");
    Bind(1, false, "A");
    Bind(26, true, "A");
    held.KeyDown('A');
    EXPECT_EQ(Scan(), (std::vector<int>{1, 5, 26}));
}

TEST_F(RepeatScanTest, MainAndAlternativeKeysBothHeldPressTwice) {
    Bind(7, false, "A");
    Bind(7, true, "B");
    held.KeyDown('A');
    held.KeyDown('B');
    EXPECT_EQ(Scan(), (std::vector<int>{7, 7}));
}

TEST_F(RepeatScanTest, TheSameKeyInBothSelectorsPressesOnce) {
    Bind(3, false, "Space");
    Bind(3, true, "Space");
    held.KeyDown(32);
    EXPECT_EQ(Scan(), std::vector<int>{3});
}

TEST_F(RepeatScanTest, NamesMatchExactly) {
    for (const char* text : {"a", " A", "A ", "", "1", "Num 1"}) {
        Bind(1, false, text);
        held.KeyDown('A');
        held.KeyDown('1');
        EXPECT_TRUE(Scan().empty()) << '"' << text << '"';
    }
}

TEST_F(RepeatScanTest, EveryRowPressesItselfFromEitherSelector) {
    held.KeyDown(113);  // F2
    for (int row = 1; row <= kPhoneKeyCount; ++row) {
        for (bool alternative : {false, true}) {
            selectors.texts.clear();
            Bind(row, alternative, "F2");
            EXPECT_EQ(Scan(), std::vector<int>{row}) << "row " << row << (alternative ? " alt" : " main");
        }
    }
}

// A press may change a binding or release a key (a box took the keyboard); the scan
// goes on with what it finds at each later check.
TEST_F(RepeatScanTest, ReadsTextsAndFlagsAtEachCheck) {
    Bind(1, false, "A");
    Bind(2, false, "A");
    Bind(3, false, "A");
    held.KeyDown('A');
    std::vector<int> rows;
    RunRepeatScan(held, selectors, [&](int row) {
        rows.push_back(row + 1);
        if (row == 0) Bind(2, false, "B");
        if (row == 2) held.KeyUp('A');
    });
    EXPECT_EQ(rows, (std::vector<int>{1, 3}));
    EXPECT_TRUE(Scan().empty());
}

}  // namespace
}  // namespace tastolink
