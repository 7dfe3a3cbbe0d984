// The text-to-number conversion and the repeat period read from "interval.int" and from the
// "Set" field, fed arbitrary texts.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "settings/integer_text.h"
#include "settings/repeat_interval.h"
#include "settings/settings_error.h"
#include "settings_test_support.h"

namespace tastolink {
namespace {

using fuzz::Check;

int DigitValue(char c, int base) {
    int value = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'z' ? c - 'a' + 10
                : c >= 'A' && c <= 'Z' ? c - 'A' + 10
                                       : 99;
    return value < base ? value : -1;
}

// The conversion's rules, written out plainly: blanks, a sign, a prefix that picks the base,
// then only digits of that base, counted without their leading zeros to bound the value.
std::optional<std::int32_t> ReferenceInteger(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ') ++at;
    bool minus = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) minus = text[at++] == '-';
    std::string_view digits = text.substr(at);
    int base = 10;
    for (std::string_view prefix : {"$", "x", "X", "0x", "0X"}) {
        if (digits.substr(0, prefix.size()) == prefix) {
            base = 16;
            digits.remove_prefix(prefix.size());
            break;
        }
    }
    if (digits.empty()) return std::nullopt;
    for (char c : digits)
        if (DigitValue(c, base) < 0) return std::nullopt;
    const std::size_t firstSignificant = std::min(digits.find_first_not_of('0'), digits.size());
    const std::string_view significant = digits.substr(firstSignificant);
    if (significant.size() > (base == 16 ? 8u : 10u)) return std::nullopt;
    std::int64_t magnitude = 0;
    for (char c : significant) magnitude = magnitude * base + DigitValue(c, base);
    if (base == 16) {
        // The 32 bits as two's complement; a minus negates them modulo 2^32.
        std::int64_t value = magnitude >= 0x80000000 ? magnitude - 0x100000000 : magnitude;
        if (minus) value = value == INT32_MIN ? INT32_MIN : -value;
        return static_cast<std::int32_t>(value);
    }
    const std::int64_t value = minus ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// Digits alone, as the program writes a period, read back whole up to 4294967295.
std::optional<std::uint32_t> ReferenceStoredPeriod(std::string_view line) {
    if (line.empty()) return std::nullopt;
    for (char c : line)
        if (DigitValue(c, 10) < 0) return std::nullopt;
    const std::string_view significant = line.substr(std::min(line.find_first_not_of('0'), line.size()));
    if (significant.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : significant) value = value * 10 + DigitValue(c, 10);
    if (value > UINT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

// The message as what() gives it: a text with a zero byte is quoted only up to that byte.
std::string NotAnInteger(std::string_view quoted) {
    return ("'" + std::string(quoted) + "' is not a valid integer value").c_str();
}

struct Timer : RepeatTimerControl {
    void Stop() override { calls.push_back("stop"); }
    bool Start(std::uint32_t periodMs) override {
        calls.push_back("start " + std::to_string(periodMs));
        return true;
    }
    std::vector<std::string> calls;
};

// The timer restarts only for a new period, and never with period 0.
std::vector<std::string> ExpectedTimerCalls(std::uint32_t from, std::uint32_t to) {
    if (from == to) return {};
    if (to == 0) return {"stop"};
    return {"stop", "start " + std::to_string(to)};
}

void CheckConversion(const std::string& text) {
    const std::optional<std::int32_t> expected = ReferenceInteger(text);
    Check(ParseInteger(text) == expected, "the conversion follows its rules");
    if (!expected) return;
    Check(ParseInteger(std::to_string(*expected)) == expected, "a value's decimal digits read back");
    char hex[16];
    std::snprintf(hex, sizeof hex, "$%08X", static_cast<std::uint32_t>(*expected));
    Check(ParseInteger(hex) == expected, "a value's 32 bits in hexadecimal read back");
}

void CheckIntervalFile(const std::string& file) {
    const std::vector<std::string> lines = fuzz::ReferenceLines(file);
    std::optional<std::uint32_t> period = ReferenceStoredPeriod(lines[0]);
    if (!period)
        if (auto value = ReferenceInteger(lines[0])) period = static_cast<std::uint32_t>(*value);

    FakeSettingsFiles files;
    files.files[kIntervalFile] = file;
    Timer timer;
    RepeatIntervalSetting setting(files, timer);
    const std::string error = ErrorOf([&] { setting.Load(); });
    const std::uint32_t loaded = period.value_or(RepeatIntervalSetting::kInitialPeriod);
    Check(error == (period ? "no error" : NotAnInteger(files.DisplayText(lines[0]))),
          "a refused line 0 is quoted as the file holds it");
    Check(setting.Period() == loaded, "the period is line 0's 32 bits");
    Check(timer.calls == ExpectedTimerCalls(RepeatIntervalSetting::kInitialPeriod, loaded),
          "a load restarts the timer only for a new period");
    Check(setting.Get() == std::to_string(loaded), "Get shows the period in unsigned digits");

    setting.Save();
    std::vector<std::string> saved = lines;
    saved[0] = std::to_string(loaded);
    Check(files.files[kIntervalFile] == fuzz::JoinedByCrLf(saved), "a save replaces line 0 only");

    Timer nextTimer;
    RepeatIntervalSetting nextRun(files, nextTimer);
    nextRun.Load();
    Check(nextRun.Period() == loaded, "every saved period reads back as itself");
}

void CheckSetButton(const std::string& text) {
    FakeSettingsFiles files;
    Timer timer;
    RepeatIntervalSetting setting(files, timer);
    const std::optional<std::int32_t> value = ReferenceInteger(text);
    const std::string error = ErrorOf([&] { setting.Set(text); });
    const std::uint32_t period =
        value ? static_cast<std::uint32_t>(*value) : RepeatIntervalSetting::kInitialPeriod;
    Check(error == (value ? "no error" : NotAnInteger(text)), "Set quotes a refused field as typed");
    Check(setting.Period() == period, "Set takes the value's 32 bits");
    Check(timer.calls == ExpectedTimerCalls(RepeatIntervalSetting::kInitialPeriod, period),
          "Set restarts the timer only for a new period");
}

}  // namespace
}  // namespace tastolink

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tastolink;
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckConversion(text);
    CheckSetButton(text);
    CheckIntervalFile(text);
    return 0;
}
