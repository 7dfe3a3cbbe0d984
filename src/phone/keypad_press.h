#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shared/wording.h"

namespace tastolink {

// One AT+CKPD command: the pause before it, the keys as AT+CKPD writes them ("5", ":T", "^",
// "5555", ";Привет;") and, for a long press, the press time in tenths of a second. The keypad,
// typed text and key sequence files all send presses, and a recording holds them as sent.
struct RecordedPress {
    std::uint32_t pauseMs = 0;
    std::string code;
    std::optional<int> pressTenths;

    bool operator==(const RecordedPress&) const = default;
};

inline constexpr int kLongestPressTenths = 255;

// The one way to make a keypad command line: AT+CKPD="<keys>" or AT+CKPD="<keys>",<time>, then
// CR LF.
std::string CommandOf(const RecordedPress& press);
// The press a keypad command line makes, paused `pauseMs` before it; nothing for a line that is
// no keypad command.
std::optional<RecordedPress> PressOfCommand(std::string_view commandLine, std::uint32_t pauseMs);

// Why a text can't be the keys of AT+CKPD. Keys are printable ASCII characters, a colon with
// the character after it (a maker's own key), and alpha entries: text between two semicolons,
// a semicolon inside doubled. A comma is no key: it starts the press time.
enum class KeypadFault { Empty, QuoteMark, ControlCharacter, NotAKey, LoneColon, OpenAlphaEntry };

struct KeypadScan {
    std::size_t length = 0;  // how many bytes are keys, up to the end or a comma between keys
    std::optional<KeypadFault> fault;
};
KeypadScan ScanKeypadString(std::string_view text);
// What keeps the whole text from being keys of AT+CKPD, or nothing.
std::optional<KeypadFault> KeypadStringFault(std::string_view keys);
std::string KeypadFaultText(KeypadFault fault, Language language);

}  // namespace tastolink
