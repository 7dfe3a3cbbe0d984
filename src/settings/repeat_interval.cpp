#include "settings/repeat_interval.h"

#include <cstdint>
#include <exception>
#include <optional>

#include "settings/integer_text.h"
#include "settings/settings_error.h"
#include "shared/decimal_number.h"

namespace tastolink {

void RepeatIntervalSetting::SetPeriod(std::uint32_t periodMs) {
    if (periodMs == period_) return;
    period_ = periodMs;
    timer_.Stop();
    if (periodMs != 0 && !timer_.Start(periodMs)) throw SettingsError(std::string(kNotEnoughTimers));
}

void RepeatIntervalSetting::Load() {
    intervalScratch_.Load(files_.Read(kIntervalFile));
    loaded_ = true;
    const std::string line = intervalScratch_.Line(0);
    // Save writes every period as plain digits, up to 4294967295; such a line is read back as
    // that period, also above 2147483647, where the signed conversion would refuse it.
    if (auto stored = DecimalNumber<std::uint32_t>(line, UINT32_MAX)) {
        SetPeriod(*stored);
        return;
    }
    const auto value = ParseInteger(line);
    if (!value) throw SettingsError(NotAValidIntegerMessage(files_.DisplayText(line)));
    SetPeriod(static_cast<std::uint32_t>(*value));
}

void RepeatIntervalSetting::Save() {
    if (!loaded_) {
        // The guard of the bindings, but for a period the user set: that one is saved into the
        // file as it is now, its other lines kept.
        std::optional<std::string> existing;
        try {
            existing = files_.Read(kIntervalFile);
        } catch (const SettingsFileMissing&) {
        } catch (const std::exception&) {
            return;  // exists, but can't be read: nothing is saved over it
        }
        if (existing && !setByUser_) return;
        intervalScratch_.Load(existing.value_or(""));
    }
    intervalScratch_.SetLine(0, Get());
    files_.Write(kIntervalFile, intervalScratch_.Text());
}

std::string RepeatIntervalSetting::Get() const { return std::to_string(period_); }

void RepeatIntervalSetting::Set(const std::string& fieldTextUtf8) {
    const auto value = ParseInteger(fieldTextUtf8);
    if (!value) throw SettingsError(NotAValidIntegerMessage(fieldTextUtf8));
    setByUser_ = true;
    SetPeriod(static_cast<std::uint32_t>(*value));
}

}  // namespace tastolink
