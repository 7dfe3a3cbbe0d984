#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "phone/keypad_press.h"
#include "phone/phone_profile.h"
#include "shared/wording.h"

namespace tastolink {

// The commands that type a text, played as a key sequence file is, and after each of them how
// many characters of the text are typed.
struct TypingPlan {
    std::vector<RecordedPress> presses;
    std::vector<std::size_t> charactersDone;  // by press
    std::size_t characters = 0;               // of the whole text

    // The least time typing can take: the pauses the phone needs, added up.
    std::uint64_t FloorMs() const;
};

enum class RefusalReason {
    NotUtf8,
    ControlCharacter,
    NotInLayout,
    NotInCharset,
    KeyDisabled,
    LongerThanEntry
};

// The first character of a text that the profile can't type.
struct TypingRefusal {
    std::size_t position = 0;  // from 1, in characters
    std::string character;     // UTF-8 as shown; U+XXXX for a control character
    RefusalReason reason = RefusalReason::NotUtf8;

    bool operator==(const TypingRefusal&) const = default;
};

// The whole text (UTF-8) is checked before a plan is made, so that nothing of a refused text is
// sent.
std::variant<TypingPlan, TypingRefusal> PlanTyping(std::string_view text, const PhoneProfile& profile);
std::string RefusalText(const TypingRefusal& refusal, Language language);

}  // namespace tastolink
