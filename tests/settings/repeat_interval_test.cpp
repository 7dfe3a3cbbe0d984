#include "settings/repeat_interval.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "settings_test_support.h"

namespace tastolink {
namespace {

using Period = std::optional<std::uint32_t>;  // nothing where the text is refused

struct FakeTimer : RepeatTimerControl {
    void Stop() override { calls.push_back("stop"); }
    bool Start(std::uint32_t periodMs) override {
        calls.push_back("start " + std::to_string(periodMs));
        return !exhausted;
    }
    bool exhausted = false;
    std::vector<std::string> calls;
};

class RepeatInterval : public testing::Test {
protected:
    FakeSettingsFiles files;
    FakeTimer timer;
    RepeatIntervalSetting setting{files, timer};
};

TEST_F(RepeatInterval, NewPeriodRestartsTheTimerAndZeroStopsIt) {
    setting.SetPeriod(100);
    setting.SetPeriod(250);
    setting.SetPeriod(0);
    setting.SetPeriod(0);
    EXPECT_EQ(timer.calls, (std::vector<std::string>{"stop", "start 250", "stop"}));
    timer.exhausted = true;
    EXPECT_EQ(ErrorOf([&] { setting.SetPeriod(50); }), "Not enough timers available");
    EXPECT_EQ(setting.Get(), "50");
}

// The Set field and line 0 of the file give the 32 bits of a signed integer; digits as the
// program writes them load back whole, also above 2147483647. The file's other lines stay.
TEST_F(RepeatInterval, SetAndLoadTakeTheBitsOfASignedInteger) {
    const std::string field = "-1", refused = "75 ";
    setting.Set(field);
    EXPECT_EQ(setting.Get(), "4294967295");
    EXPECT_EQ(ErrorOf([&] { setting.Set(refused); }), "'75 ' is not a valid integer value");
    // clang-format off
    const std::pair<std::string, Period> lines[] = {
        {"250", 250},     {"0", 0},              {"4294967295", 4294967295u}, {"0004294967295", 4294967295u},
        {"$FFFFFFFF", 4294967295u}, {"-2147483648", 2147483648u}, {"4294967296", {}}, {" 3000000000", {}},
        {"+3000000000", {}}, {"250 ", {}},       {"", {}},
    };
    // clang-format on
    for (const auto& [line, period] : lines) {
        setting.SetPeriod(100);
        files.files[kIntervalFile] = line + "\r\n\r\nkept";
        const std::string error = ErrorOf([&] { setting.Load(); });
        EXPECT_EQ(error, period ? "no error" : "'<" + line + ">' is not a valid integer value");
        setting.Save();
        EXPECT_EQ(files.files[kIntervalFile], std::to_string(period.value_or(100)) + "\r\n\r\nkept");
    }
}

// A period that never came from an existing file is not saved over it; a missing file is
// created with the period alone.
TEST_F(RepeatInterval, WithoutALoadedFileOnlyAMissingFileIsWritten) {
    files.files[kIntervalFile] = "250\r\nnotes";
    files.unreadable = {kIntervalFile};
    EXPECT_EQ(ErrorOf([&] { setting.Load(); }), "Cannot open file \"C:\\run\\interval.int\". Denied");
    setting.Set("50");
    setting.Save();
    files.unreadable.clear();
    setting.Save();
    EXPECT_TRUE(files.writes.empty());
    files.files.clear();
    setting.Save();
    EXPECT_EQ(files.files[kIntervalFile], "50");
}

}  // namespace
}  // namespace tastolink
