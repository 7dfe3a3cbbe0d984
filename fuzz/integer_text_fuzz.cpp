// The text-to-number conversion and the repeat period read from "interval.int", fed
// arbitrary texts.

#include <algorithm>
#include <optional>

#include "fuzz_check.h"
#include "settings/integer_text.h"
#include "settings/repeat_interval.h"
#include "settings_test_support.h"

namespace tastolink {
namespace {

using fuzz::Check;

int DigitValue(char c, int base) {
    const int value = c >= '0' && c <= '9'   ? c - '0'
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
        if (digits.starts_with(prefix)) {
            base = 16;
            digits.remove_prefix(prefix.size());
            break;
        }
    }
    if (digits.empty() ||
        std::any_of(digits.begin(), digits.end(), [&](char c) { return DigitValue(c, base) < 0; }))
        return std::nullopt;
    const std::string_view significant =
        digits.substr(std::min(digits.find_first_not_of('0'), digits.size()));
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

struct Timer : RepeatTimerControl {
    void Stop() override {}
    bool Start(std::uint32_t) override { return true; }
};

}  // namespace
}  // namespace tastolink

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tastolink;
    const std::string text(reinterpret_cast<const char*>(data), size);
    Check(ParseInteger(text) == ReferenceInteger(text), "the conversion follows its rules");

    // Whatever period a file gives, a save and a load in the next run give it back.
    FakeSettingsFiles files;
    files.files[kIntervalFile] = text;
    Timer timer;
    RepeatIntervalSetting setting(files, timer);
    ErrorOf([&] { setting.Load(); });
    setting.Save();
    RepeatIntervalSetting nextRun(files, timer);
    nextRun.Load();
    Check(nextRun.Period() == setting.Period(), "every saved period reads back as itself");
    return 0;
}
