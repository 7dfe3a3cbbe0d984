#include "settings/repeat_interval.h"

#include <gtest/gtest.h>

#include "settings_test_support.h"

namespace tastolink {
namespace {

struct FakeTimer : RepeatTimerControl {
    void Stop() override { calls += "stop "; }
    bool Start(std::uint32_t periodMs) override {
        calls += "start " + std::to_string(periodMs) + " ";
        return !exhausted;
    }
    bool exhausted = false;
    std::string calls;
};

class RepeatInterval : public testing::Test {
protected:
    FakeSettingsFiles files;
    FakeTimer timer;
    RepeatIntervalSetting setting{files, timer};
};

// A new period restarts the timer, 0 stops it. Line 0 of the file gives the 32 bits of a
// signed integer; digits as the program writes them load back whole, also above 2147483647.
// The file's other lines stay. (The Set and Get buttons and the window's own timer:
// MainWindowTest.ClosingSavesBindingsAndPeriodByteForByte,
// MainWindowTest.ASetPeriodRepeatsAHeldKeyAndZeroStopsTheTimer.)
TEST_F(RepeatInterval, LoadTakesTheBitsOfASignedIntegerAndRestartsTheTimer) {
    for (std::uint32_t period : {100, 250, 0, 0}) setting.SetPeriod(period);
    EXPECT_EQ(timer.calls, "stop start 250 stop ");
    files.files["interval.int"] = "0004294967295\r\n\r\nkept";
    setting.Load();
    setting.Save();
    EXPECT_EQ(files.files["interval.int"], "4294967295\r\n\r\nkept");
    files.files["interval.int"] = "4294967296\r\nnext";
    EXPECT_EQ(ErrorOf([&] { setting.Load(); }), "'<4294967296>' is not a valid integer value");
    setting.Save();  // the period stays, the rest is the new file's
    EXPECT_EQ(files.files["interval.int"], "4294967295\r\nnext");
    timer.exhausted = true;
    EXPECT_EQ(ErrorOf([&] { setting.SetPeriod(50); }), "Not enough timers available");
    EXPECT_EQ(setting.Get(), "50");
}

// After a start that stopped before the file was read, a period never set is not saved over an
// existing file, and nothing over one that can't be read; a period the user set is saved into the
// file as it is then, its other lines kept; a missing file is created with the period alone.
TEST_F(RepeatInterval, WithoutALoadedFileOnlyASetPeriodOrAMissingFileIsWritten) {
    files.files["interval.int"] = "250\r\nnotes";
    files.unreadable = {"interval.int"};
    EXPECT_THROW(setting.Load(), SettingsError);
    files.unreadable.clear();
    setting.Save();
    setting.Set("70");
    files.unreadable = {"interval.int"};
    setting.Save();
    EXPECT_TRUE(files.writes.empty());
    files.unreadable.clear();
    setting.Save();
    EXPECT_EQ(files.files["interval.int"], "70\r\nnotes");
    files.files.clear();
    setting.Save();
    EXPECT_EQ(files.files["interval.int"], "70");
}

}  // namespace
}  // namespace tastolink
