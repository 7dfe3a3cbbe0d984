#include "phone/phone_event_status.h"

#include <algorithm>

#include "phone/keypad_press.h"
#include "shared/ascii_text.h"

namespace tastolink {
namespace {

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace

void PhoneEventStatus::Named::Learn(const IndicatorList& list, std::string_view name) {
    *this = {};
    for (std::size_t at = 0; at < list.indicators.size(); ++at)
        if (EqualIgnoringAsciiCase(list.indicators[at].name, name)) {
            range = list.indicators[at];
            index = at + 1;
            return;
        }
}

void PhoneEventStatus::Named::Set(std::size_t reported, int newValue) {
    if (range && reported == index && newValue >= range->lowest && newValue <= range->highest)
        value = newValue;
}

std::optional<IndicatorLevel> PhoneEventStatus::Named::Level() const {
    if (!value) return std::nullopt;
    return IndicatorLevel{*value, range->highest};
}

void PhoneEventStatus::Take(const PhoneEvent& event) {
    std::visit(Overloaded{
                   [&](const PhoneKeyEvent& key) {
                       if (key.pressed) lastKey_ = key.key;
                   },
                   [&](const IndicatorEvent& change) {
                       battery_.Set(change.index, change.value);
                       signal_.Set(change.index, change.value);
                   },
                   [&](const DisplayEvent& display) { displayText_ = display.text; },
                   [&](const IndicatorList& list) {
                       battery_.Learn(list, "battchg");
                       signal_.Learn(list, "signal");
                   },
                   [&](const IndicatorValues& values) {
                       for (std::size_t at = 0; at < values.values.size(); ++at) {
                           battery_.Set(at + 1, values.values[at]);
                           signal_.Set(at + 1, values.values[at]);
                       }
                   },
               },
               event);
}

std::optional<PhoneKeyPress> PhoneKeyHolds::Take(const PhoneKeyEvent& event,
                                                 std::chrono::steady_clock::time_point at) {
    const auto held = std::ranges::find(held_, event.key, &Held::key);
    if (event.pressed) {
        if (held != held_.end()) held_.erase(held);
        if (held_.size() == kMostHeld) held_.erase(held_.begin());
        held_.push_back({event.key, at});
        return std::nullopt;
    }
    if (held == held_.end()) return std::nullopt;
    PhoneKeyPress press{held->key, held->since, std::nullopt};
    held_.erase(held);
    const auto hold = at - press.pressedAt;
    if (hold >= kLongHold) {
        const auto tenths = (std::chrono::duration_cast<std::chrono::milliseconds>(hold).count() + 50) / 100;
        press.holdTenths = static_cast<int>(std::min<long long>(tenths, kLongestPressTenths));
    }
    return press;
}

}  // namespace tastolink
