// The text-to-number conversion against its rules written out plainly, and the repeat period
// read from "interval.int", fed arbitrary texts. A broken property aborts, so that libFuzzer
// keeps the input.

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <optional>

#include "settings/integer_text.h"
#include "settings/repeat_interval.h"
#include "settings_test_support.h"

namespace tastolink {
namespace {

// Blanks, a sign, a prefix that picks the base, then only digits of that base.
std::optional<std::int32_t> ReferenceInteger(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    const bool minus = text.starts_with('-');
    if (minus || text.starts_with('+')) text.remove_prefix(1);
    int base = 10;
    for (std::string_view prefix : {"$", "x", "X", "0x", "0X"}) {
        if (text.starts_with(prefix)) {
            base = 16;
            text.remove_prefix(prefix.size());
            break;
        }
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    // Hexadecimal: the 32 bits as two's complement, a minus negating them modulo 2^32.
    if (base == 16) {
        if (magnitude > 0xFFFFFFFF) return std::nullopt;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(minus ? 0 - magnitude : magnitude));
    }
    if (magnitude > (minus ? 0x80000000u : 0x7FFFFFFFu)) return std::nullopt;
    return minus ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                 : static_cast<std::int32_t>(magnitude);
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
    if (ParseInteger(text) != ReferenceInteger(text)) std::abort();

    // Whatever period a file gives, a save and a load in the next run give it back.
    FakeSettingsFiles files;
    files.files[kIntervalFile] = text;
    Timer timer;
    RepeatIntervalSetting setting(files, timer);
    ErrorOf([&] { setting.Load(); });
    setting.Save();
    RepeatIntervalSetting nextRun(files, timer);
    nextRun.Load();
    if (nextRun.Period() != setting.Period()) std::abort();
    return 0;
}
