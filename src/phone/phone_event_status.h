#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "phone/phone_events.h"

namespace tastolink {

// An indicator's value against the top of its range, as the status bar says it ("3 из 5").
struct IndicatorLevel {
    int value = 0;
    int highest = 0;

    bool operator==(const IndicatorLevel&) const = default;
};

// What the status bar shows of the phone's own events: the last key pressed on the phone, the
// battery, the signal and the last display text. The indicators are known by the names the phone
// gives them in its answer to AT+CIND=? ("battchg", "signal"), since phones number them
// differently; until that answer, and for a value outside the named range, nothing is shown.
class PhoneEventStatus {
public:
    void Take(const PhoneEvent& event);

    const std::string& LastKey() const { return lastKey_; }  // as AT+CKPD writes it: "5", ":X"
    std::optional<IndicatorLevel> Battery() const { return battery_.Level(); }
    std::optional<IndicatorLevel> Signal() const { return signal_.Level(); }
    const std::string& DisplayText() const { return displayText_; }

private:
    struct Named {
        std::optional<Indicator> range;
        std::size_t index = 0;  // from 1
        std::optional<int> value;

        void Learn(const IndicatorList& list, std::string_view name);
        void Set(std::size_t index, int value);
        std::optional<IndicatorLevel> Level() const;
    };

    std::string lastKey_;
    Named battery_;
    Named signal_;
    std::string displayText_;
};

// A key pressed on the phone itself, as a recording takes it: when it went down and, where it was
// held 1.5 s or more, how long, to the nearest tenth of a second (at most 255, what AT+CKPD takes).
struct PhoneKeyPress {
    std::string key;
    std::chrono::steady_clock::time_point pressedAt;
    std::optional<int> holdTenths;

    bool operator==(const PhoneKeyPress&) const = default;
};

inline constexpr std::chrono::milliseconds kLongHold{1500};

// Pairs each +CKEV release with its press. A phone may report keys held together, and may lose a
// line: a second press of a held key starts its hold anew, a release never pressed is nothing,
// and beyond a hand's worth of keys held the oldest is forgotten.
class PhoneKeyHolds {
public:
    static constexpr std::size_t kMostHeld = 10;

    // The press that `event`, heard at `at`, completes: at a key's release, the whole press.
    std::optional<PhoneKeyPress> Take(const PhoneKeyEvent& event, std::chrono::steady_clock::time_point at);

private:
    struct Held {
        std::string key;
        std::chrono::steady_clock::time_point since;
    };
    std::vector<Held> held_;
};

}  // namespace tastolink
