#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "phone/character_set.h"

namespace tastolink {

// +CKEV: <key>,<press>: a key pressed (or released) on the phone itself.
struct PhoneKeyEvent {
    std::string key;  // as AT+CKPD writes it: "5", "M", ":X"
    bool pressed = false;

    bool operator==(const PhoneKeyEvent&) const = default;
};

// +CIEV: <ind>,<value>: an indicator changed.
struct IndicatorEvent {
    int index = 0;  // from 1, in the order of the answer to AT+CIND=?
    int value = 0;

    bool operator==(const IndicatorEvent&) const = default;
};

// +CDEV: <elem>,"<text>": the phone's display shows a new text.
struct DisplayEvent {
    int element = 0;
    std::string text;  // UTF-8 when the set is UCS2; otherwise the line's characters as they came

    bool operator==(const DisplayEvent&) const = default;
};

// One indicator of the answer to AT+CIND=?: ("battchg",(0-5)).
struct Indicator {
    std::string name;
    int lowest = 0;
    int highest = 0;

    bool operator==(const Indicator&) const = default;
};

// +CIND: ("battchg",(0-5)),("signal",(0-5)),...: the indicators a phone has, in order.
struct IndicatorList {
    std::vector<Indicator> indicators;

    bool operator==(const IndicatorList&) const = default;
};

// +CIND: 5,3,1: the value of each indicator, in the same order.
struct IndicatorValues {
    std::vector<int> values;

    bool operator==(const IndicatorValues&) const = default;
};

using PhoneEvent = std::variant<PhoneKeyEvent, IndicatorEvent, DisplayEvent, IndicatorList, IndicatorValues>;

// The event of one answer line (printable ASCII, as AnswerParser cuts them), whose texts are
// written in `set`. Every other line, and any malformed or overlong one, is no event.
std::optional<PhoneEvent> ParsePhoneEvent(std::string_view line, CharacterSet set);

// One form of AT+CMER=<mode>,<keyp>,<disp>,<ind> and what it switches on.
struct EventReportForm {
    std::string_view line;
    bool keys;         // +CKEV for keys pressed on the phone itself
    bool programKeys;  // +CKEV also for the keys pressed through AT+CKPD (keyp 2)
    bool display;      // +CDEV
    bool indicators;   // +CIEV
};

// The full form first, then narrower ones in the order to try them when a phone refuses the one
// before: display texts go first, as the fewest phones report them and nothing is recorded from
// them; then the indicators, so that keys stay, which a recording needs. Mode 2 (buffered while
// the link is busy) and keyp 2 (keys pressed through AT+CKPD reported too, so the program must
// tell its own keys apart) serve phones that know no other; indicators alone come last.
// clang-format off
inline constexpr std::array<EventReportForm, 6> kEventReportForms{{
    {"AT+CMER=3,1,1,1", true, false, true, true},
    {"AT+CMER=3,1,0,1", true, false, false, true},
    {"AT+CMER=3,1,0,0", true, false, false, false},
    {"AT+CMER=2,1,0,0", true, false, false, false},
    {"AT+CMER=3,2,0,0", true, true, false, false},
    {"AT+CMER=3,0,0,1", false, false, false, true},
}};
// clang-format on

// The forms to try after the phone refused `refusedLine`: those listed after it, or all of them
// when it is a profile's own line, not listed (compared without regard to case and blanks).
std::span<const EventReportForm> NarrowerEventReports(std::string_view refusedLine);

// What a line switches on once the phone takes it: a listed form's, or what a profile's own
// AT+CMER line asks for by its values (keeping `line`); nothing for a line that is no AT+CMER.
EventReportForm ReportFormOf(std::string_view line);

}  // namespace tastolink
