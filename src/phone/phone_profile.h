#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/conversation_event.h"
#include "phone/character_set.h"
#include "phone/keypad_layouts.h"
#include "phone/keypad_press.h"
#include "phone/phone_key_table.h"

namespace tastolink {

// Alpha entry writes the text itself between semicolons (AT+CKPD=";Привет;"); multi-tap presses
// the digit keys a person would.
enum class TextEntryMode { Multitap, Alpha };
// The character set the phone reads an alpha entry in: what the profile's preparation sets with
// AT+CSCS. UCS2 is written as 4 hexadecimal digits per UTF-16 unit.
enum class AlphaCharset { Ira, Gsm, Latin1, Utf8, Ucs2 };

// How a profile types text, and how long its phone takes.
struct TextTyping {
    TextEntryMode mode = TextEntryMode::Multitap;
    AlphaCharset charset = AlphaCharset::Ira;
    int alphaLongest = 40;  // characters in one entry, a surrogate pair counting two
    // The program is Russian and so are most of its users' messages: Cyrillic by default.
    KeypadLetters letters = LettersOf(KeypadLayout::Russian);
    // How long the phone waits before the same key starts a new letter. Usual phones wait about a
    // second; the longest of them a second and a half.
    std::uint32_t multitapWaitMs = 1500;
    std::string nextCode;  // a key that ends a letter at once; empty: the wait
    int keysPerCommand = 1;
    std::uint32_t pressMs = 200;  // the time one key press takes the phone, before the next command
};

struct PhoneProfile {
    std::string name;                               // UTF-8
    std::array<std::string, kPhoneKeyCount> codes;  // by row; an empty code disables the button
    std::vector<std::string> preparation;           // sent once, in order, at each opening; no CR LF
    int longPressTenths = kLongPressTenths;
    std::vector<std::string> matchWords;  // all of them in the answers to AT+CGMI and AT+CGMM
    std::string eventLine = "AT+CMER=3,1,1,1";
    TextTyping typing;
};

inline constexpr std::string_view kOrdinaryProfileName = "Обычный";
inline constexpr std::string_view kStandardProfileName = "3GPP TS 27.007";

// "Обычный", the program's own codes and nothing sent beside them, then "3GPP TS 27.007".
std::vector<PhoneProfile> BuiltInProfiles();
// The profile called `name`, or nullptr.
const PhoneProfile* ProfileNamed(const std::vector<PhoneProfile>& profiles, std::string_view name);

// The press of a row's button under the profile, short or long; nothing for a button the
// profile disables.
std::optional<RecordedPress> ButtonPress(const PhoneProfile& profile, int row, bool longPress);
std::optional<std::string> KeypadCommand(const PhoneProfile& profile, int row);
std::optional<std::string> LongPressCommand(const PhoneProfile& profile, int row);

// The character set the phone writes its reports in: the one its profile types alpha entries in.
CharacterSet ReportCharacterSet(const PhoneProfile& profile);
// The lines the profile sends at each opening of the port, in order.
std::vector<PhoneCommand> PreparationCommands(const PhoneProfile& profile);

}  // namespace tastolink
