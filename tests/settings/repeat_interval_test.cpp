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

TEST_F(RepeatInterval, MissingFileKeepsThePeriodAndSavesItAlone) {
    EXPECT_EQ(ErrorOf([&] { setting.Load(); }), "Cannot open file \"C:\\run\\interval.int\". Not found");
    setting.Set("50");
    setting.Save();
    EXPECT_EQ(files.files[kIntervalFile], "50");
}

struct TextCase {
    std::string text;
    std::optional<std::uint32_t> period;  // nothing where the text is refused
};

constexpr std::optional<std::uint32_t> kRefused;

class SetButton : public RepeatInterval, public testing::WithParamInterface<TextCase> {};

TEST_P(SetButton, TakesTheBitsOfASignedInteger) {
    const std::string error = ErrorOf([&] { setting.Set(GetParam().text); });
    EXPECT_EQ(setting.Period(), GetParam().period.value_or(100));
    EXPECT_EQ(error,
              GetParam().period ? "no error" : "'" + GetParam().text + "' is not a valid integer value");
}

INSTANTIATE_TEST_SUITE_P(Fields, SetButton,
                         testing::Values(TextCase{" 75", 75}, TextCase{"$64", 100u},
                                         TextCase{"-1", 4294967295u}, TextCase{"-2147483648", 2147483648u},
                                         TextCase{"75 ", kRefused}, TextCase{"", kRefused},
                                         TextCase{"2147483648", kRefused}, TextCase{"4294967295", kRefused}));

class PeriodLine : public RepeatInterval, public testing::WithParamInterface<TextCase> {};

// Digits as the program writes them load back whole; anything else is read as a signed integer.
TEST_P(PeriodLine, LoadsAndSavesWithTheOtherLinesKept) {
    files.files[kIntervalFile] = GetParam().text + "\r\n\r\nkept";
    const std::string error = ErrorOf([&] { setting.Load(); });
    const std::uint32_t period = GetParam().period.value_or(100);
    EXPECT_EQ(setting.Period(), period);
    EXPECT_EQ(error,
              GetParam().period ? "no error" : "'<" + GetParam().text + ">' is not a valid integer value");
    setting.Save();
    EXPECT_EQ(files.files[kIntervalFile], std::to_string(period) + "\r\n\r\nkept");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PeriodLine,
    testing::Values(TextCase{"250", 250}, TextCase{"0", 0}, TextCase{"2147483648", 2147483648u},
                    TextCase{"4294967295", 4294967295u}, TextCase{"0004294967295", 4294967295u},
                    TextCase{"$FFFFFFFF", 4294967295u}, TextCase{"-1", 4294967295u},
                    TextCase{"4294967296", kRefused}, TextCase{" 3000000000", kRefused},
                    TextCase{"+3000000000", kRefused}, TextCase{"250 ", kRefused}, TextCase{"", kRefused}));

}  // namespace
}  // namespace tastolink
