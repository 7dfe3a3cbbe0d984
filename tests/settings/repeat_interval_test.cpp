#include "settings/repeat_interval.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings_test_support.h"

namespace tastolink {
namespace {

using Calls = std::vector<std::string>;
using Period = std::optional<std::uint32_t>;  // nothing where the text is refused

struct FakeTimer : RepeatTimerControl {
    void Stop() override { calls.push_back("stop"); }
    bool Start(std::uint32_t periodMs) override {
        calls.push_back("start " + std::to_string(periodMs));
        return !exhausted;
    }
    bool exhausted = false;
    Calls calls;
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
    EXPECT_EQ(timer.calls, (Calls{"stop", "start 250", "stop"}));
    timer.exhausted = true;
    EXPECT_EQ(ErrorOf([&] { setting.SetPeriod(50); }), "Not enough timers available");
    EXPECT_EQ(setting.Get(), "50");
}

// The Set button takes the 32 bits of a signed integer as the period.
TEST_F(RepeatInterval, SetTakesTheBitsOfASignedInteger) {
    // clang-format off
    const std::pair<std::string, Period> cases[] = {
        {" 75", 75}, {"$64", 100}, {"-1", 4294967295u}, {"-2147483648", 2147483648u},
        {"75 ", {}}, {"", {}},     {"2147483648", {}},  {"4294967295", {}},
    };
    // clang-format on
    for (const auto& [field, period] : cases) {
        const std::string text = field;
        setting.SetPeriod(100);
        const std::string error = ErrorOf([&] { setting.Set(text); });
        EXPECT_EQ(setting.Period(), period.value_or(100)) << text;
        EXPECT_EQ(error, period ? "no error" : "'" + text + "' is not a valid integer value");
    }
}

// Digits as the program writes them load back whole; anything else is read as a signed integer.
TEST_F(RepeatInterval, LoadsLine0AndSavesWithTheOtherLinesKept) {
    // clang-format off
    const std::pair<std::string, Period> cases[] = {
        {"250", 250},           {"0", 0},           {"2147483648", 2147483648u}, {"4294967295", 4294967295u},
        {"0004294967295", 4294967295u}, {"$FFFFFFFF", 4294967295u}, {"-1", 4294967295u}, {"4294967296", {}},
        {" 3000000000", {}},    {"+3000000000", {}}, {"250 ", {}},              {"", {}},
    };
    // clang-format on
    for (const auto& [line, period] : cases) {
        setting.SetPeriod(100);
        files.files[kIntervalFile] = line + "\r\n\r\nkept";
        const std::string error = ErrorOf([&] { setting.Load(); });
        EXPECT_EQ(setting.Period(), period.value_or(100)) << line;
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
