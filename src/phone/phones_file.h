#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "phone/keypad_press.h"
#include "phone/phone_profile.h"
#include "shared/wording.h"

namespace tastolink {

inline constexpr char kPhonesFile[] = "phones.ini";

// phones.ini, the user's own profiles: UTF-8 (a BOM allowed), one [Section] per profile, whose
// name it takes. Lines starting with ";" or "#" are comments; blanks around "=" and at the ends
// of lines don't count. A section holds:
//   base = NAME             the profile it starts from: a built-in one or an earlier section
//                           ("Обычный" when absent), wherever the line stands in the section
//   match = word; word      all of them in the phone's answers to AT+CGMI and AT+CGMM
//   prepare = LINE          sent at each opening, in order; the section's first replaces the
//                           base's lines, and an empty one leaves none
//   key.<button> = CODE     the keys of AT+CKPD the button sends; empty disables it
//   long = TENTHS           the long press, 1 to 255
//   events = LINE           the line that asks the phone for its events
//   text = alpha|multitap   and for alpha: alpha_charset = IRA|GSM|8859-1|UTF-8|UCS2,
//                           alpha_longest = CHARACTERS
//   layout = russian|latin, letters.<digit> = LETTERS, multitap_wait = MS, next = CODE,
//   keys_per_command = N, press_ms = MS   (the facts of TextTyping)
// Later lines win over earlier ones, except prepare, which adds.

enum class ProblemKind {
    OutsideSection,
    BadSection,
    DuplicateSection,
    UnknownBase,
    NoEquals,
    UnknownSetting,
    BadNumber,
    BadChoice,
    BadKeys,
    BadCommand,
    EmptyValue,
    NotUtf8,
    ControlCharacter,
    LineTooLong,
    FileTooLarge,
};

// One bad line, whose profile is left out.
struct ProfileProblem {
    int line = 0;  // from 1; 0 for the file as a whole
    ProblemKind kind = ProblemKind::OutsideSection;
    std::string detail = {};                     // the piece of the line at fault, fit to quote
    std::string allowed = {};                    // what the value may be, where that is a range or a list
    KeypadFault keysFault = KeypadFault::Empty;  // for BadKeys

    bool operator==(const ProfileProblem&) const = default;
};

struct PhonesFile {
    std::vector<PhoneProfile> profiles;  // the built-in ones, then each good section in order
    std::vector<ProfileProblem> problems;
};

// Never throws and never stops at a bad line: each is one problem, and its section is left out.
PhonesFile ReadPhonesFile(std::string_view bytes);

std::string ProblemText(const ProfileProblem& problem, Language language);
// The one box's whole text: the file, then each line and its fault (the first few dozen).
std::string ProblemsText(const std::vector<ProfileProblem>& problems, Language language,
                         std::string_view fileName = kPhonesFile);

}  // namespace tastolink
