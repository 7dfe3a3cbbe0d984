#include "phone/phone_profile.h"

namespace tastolink {

std::vector<PhoneProfile> BuiltInProfiles() {
    PhoneProfile ordinary, standard;
    ordinary.name = kOrdinaryProfileName;
    standard.name = kStandardProfileName;
    for (int row = 0; row < kPhoneKeyCount; ++row) {
        ordinary.codes[row] = kPhoneKeyTable[row].code;
        standard.codes[row] = kPhoneKeyTable[row].standardCode;
    }
    return {ordinary, standard};
}

const PhoneProfile* ProfileNamed(const std::vector<PhoneProfile>& profiles, std::string_view name) {
    for (const PhoneProfile& profile : profiles)
        if (profile.name == name) return &profile;
    return nullptr;
}

std::optional<RecordedPress> ButtonPress(const PhoneProfile& profile, int row, bool longPress) {
    if (row < 0 || row >= kPhoneKeyCount || profile.codes[row].empty()) return std::nullopt;
    return RecordedPress{0, profile.codes[row],
                         longPress ? std::optional(profile.longPressTenths) : std::nullopt};
}

std::vector<PhoneCommand> PreparationCommands(const PhoneProfile& profile) {
    std::vector<PhoneCommand> lines;
    for (const std::string& line : profile.preparation) lines.push_back(PhoneCommand::OfLine(line));
    return lines;
}

std::optional<std::string> KeypadCommand(const PhoneProfile& profile, int row) {
    const auto press = ButtonPress(profile, row, false);
    return press ? std::optional(CommandOf(*press)) : std::nullopt;
}

std::optional<std::string> LongPressCommand(const PhoneProfile& profile, int row) {
    const auto press = ButtonPress(profile, row, true);
    return press ? std::optional(CommandOf(*press)) : std::nullopt;
}

CharacterSet ReportCharacterSet(const PhoneProfile& profile) {
    switch (profile.typing.charset) {
        case AlphaCharset::Ira:
            return CharacterSet::Ira;
        case AlphaCharset::Gsm:
            return CharacterSet::Gsm;
        case AlphaCharset::Latin1:
            return CharacterSet::Latin1;
        case AlphaCharset::Utf8:
            return CharacterSet::Utf8;
        case AlphaCharset::Ucs2:
            return CharacterSet::Ucs2;
    }
    return CharacterSet::Ira;
}

}  // namespace tastolink
