#include "phone/identification.h"

#include <algorithm>
#include <cctype>

#include "shared/ascii_text.h"
#include "shared/decimal_number.h"
#include "shared/unicode_text.h"

namespace tastolink {
namespace {

constexpr std::size_t kLongestFact = 64;  // characters

// clang-format off
constexpr Wording kLabels[] = {
    {"Производитель", "manufacturer"}, {"Модель", "model"}, {"Версия", "revision"},
    {"Управление клавиатурой", "keypad"}, {"Профиль", "profile"},
};
constexpr Wording kUnknown{"неизвестно", "unknown"};
constexpr Wording kKeypadYes{"есть", "yes"};
constexpr Wording kKeypadNo{"нет: телефон не принимает AT+CKPD", "no"};
constexpr Wording kNoProfile{"не найден", "none"};
// clang-format on

// What an answer line says without the command's name before it ("+CGMI: ") and its quotes.
std::string_view Said(std::string_view line) {
    line = TrimmedBlanks(line);
    if (line.starts_with('+')) {
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos && std::all_of(line.begin() + 1, line.begin() + colon,
                                                           [](unsigned char c) { return std::isalnum(c); }))
            line = TrimmedBlanks(line.substr(colon + 1));
    }
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"')
        line = TrimmedBlanks(line.substr(1, line.size() - 2));
    return line;
}

// The lines of an answered command as one short text; the command's echo left out.
std::string Fact(const CommandAnswer& answer, std::string_view command) {
    if (answer.result != FinalResult::Ok) return "";
    std::string text;
    for (const std::string& line : answer.lines) {
        if (EqualIgnoringAsciiCase(TrimmedBlanks(line), command)) continue;
        const std::string_view said = Said(line);
        if (said.empty()) continue;
        if (!text.empty()) text += ' ';
        text += said.substr(0, 4 * kLongestFact);
    }
    return Quotable(text, kLongestFact);
}

// Whether the keypad modes of AT+CMEC=? ("+CMEC: (0-2),(0-1),(0-2)") let the computer press
// keys: mode 1 or 2. A list that can't be read says nothing against it.
bool KeypadModesAllowComputer(const CommandAnswer& answer) {
    if (answer.result != FinalResult::Ok) return true;
    for (const std::string& line : answer.lines) {
        if (!TrimmedBlanks(line).starts_with("+CMEC:")) continue;
        std::string_view modes = Said(line);
        modes = modes.substr(0, modes.starts_with('(') ? modes.find(')') : modes.find(','));
        if (modes.starts_with('(')) modes.remove_prefix(1);
        while (!modes.empty()) {
            const std::string_view item = modes.substr(0, modes.find(','));
            modes.remove_prefix(std::min(item.size() + 1, modes.size()));
            const std::size_t dash = item.find('-');
            const auto low = DecimalNumber<int>(TrimmedBlanks(item.substr(0, dash)), 9);
            const auto high = dash == std::string_view::npos
                                  ? low
                                  : DecimalNumber<int>(TrimmedBlanks(item.substr(dash + 1)), 9);
            if (!low || !high) return true;
            if (*low <= 2 && *high >= 1) return true;
        }
        return false;
    }
    return true;
}

}  // namespace

PhoneIdentity Identify(const IdentificationAnswers& answers, const std::vector<PhoneProfile>& profiles) {
    PhoneIdentity identity;
    identity.manufacturer = Fact(answers[0], kIdentificationCommands[0]);
    identity.model = Fact(answers[1], kIdentificationCommands[1]);
    identity.revision = Fact(answers[2], kIdentificationCommands[2]);
    identity.keypadOffered = answers[3].result == FinalResult::Ok && KeypadModesAllowComputer(answers[4]);
    if (const PhoneProfile* profile = MatchingProfile(profiles, identity.manufacturer, identity.model))
        identity.profile = profile->name;
    return identity;
}

const PhoneProfile* MatchingProfile(const std::vector<PhoneProfile>& profiles, std::string_view manufacturer,
                                    std::string_view model) {
    const std::u32string said =
        Folded(CharactersOf(std::string(manufacturer) + " " + std::string(model)).value_or(U""));
    for (const PhoneProfile& profile : profiles) {
        const bool matches =
            !profile.matchWords.empty() &&
            std::ranges::all_of(profile.matchWords, [&](const std::string& word) {
                return said.find(Folded(CharactersOf(word).value_or(U"\uFFFF"))) != std::u32string::npos;
            });
        if (matches) return &profile;
    }
    return nullptr;
}

std::vector<std::pair<std::string, std::string>> IdentityFacts(const PhoneIdentity& identity,
                                                               Language language) {
    const auto known = [&](const std::string& fact) {
        return fact.empty() ? Worded(kUnknown, language) : fact;
    };
    const std::string values[] = {
        known(identity.manufacturer),
        known(identity.model),
        known(identity.revision),
        Worded(identity.keypadOffered ? kKeypadYes : kKeypadNo, language),
        identity.profile.empty() ? Worded(kNoProfile, language) : identity.profile,
    };
    std::vector<std::pair<std::string, std::string>> facts;
    for (std::size_t fact = 0; fact < std::size(kLabels); ++fact)
        facts.emplace_back(Worded(kLabels[fact], language), values[fact]);
    return facts;
}

}  // namespace tastolink
