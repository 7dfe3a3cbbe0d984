#include "phone/text_entry.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <optional>

#include "shared/unicode_text.h"

namespace tastolink {
namespace {

// clang-format off
constexpr Wording kRefusal{"Не набрать «{}» (знак {}): {}", "Can't type \"{}\" (character {}): {}"};
constexpr Wording kReasons[] = {
    {"это не UTF-8", "it is not UTF-8"},
    {"это управляющий символ", "it is a control character"},
    {"его нет ни на одной клавише раскладки профиля", "no key of the profile's layout has it"},
    {"его нет в наборе символов профиля", "the profile's character set lacks it"},
    {"его клавиша в профиле отключена", "the profile disables its key"},
    {"он не помещается в одну запись профиля", "it does not fit in one entry of the profile"},
};
// The GSM letters that travel as printable bytes, and those bytes. Ö would be 5C, the backslash
// that starts an escape on the command line.
constexpr std::u32string_view kGsmLetters = U"¤¡ÄÑÜ§¿äöñü";
constexpr std::string_view kGsmBytes = "\x24\x40\x5B\x5D\x5E\x5F\x60\x7B\x7C\x7D\x7E";
// clang-format on
static_assert(std::size(kReasons) == static_cast<std::size_t>(RefusalReason::LongerThanEntry) + 1);
static_assert(kGsmLetters.size() == kGsmBytes.size());

TypingRefusal Refusal(std::size_t index, char32_t c, RefusalReason reason) {
    return {index + 1, IsControlCharacter(c) ? CodePointName(c) : Utf8Of(std::u32string(1, c)), reason};
}

// How a character is written between the semicolons of an alpha entry, or nothing.
std::optional<std::string> AlphaText(char32_t c, AlphaCharset charset) {
    if (charset == AlphaCharset::Ucs2) {
        std::string hex;
        for (const char16_t unit : Utf16Of(std::u32string(1, c))) {
            char digits[5];
            std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(unit));
            hex += digits;
        }
        return hex;
    }
    // A quotation mark would end the command and a backslash start an escape of the line.
    if (c == U'"' || c == U'\\') return std::nullopt;
    if (c == U';') return ";;";
    switch (charset) {
        case AlphaCharset::Ira:
            if (c > 0x7E) return std::nullopt;
            return std::string(1, static_cast<char>(c));
        case AlphaCharset::Latin1:
            if (c > 0xFF) return std::nullopt;
            return std::string(1, static_cast<char>(c));
        case AlphaCharset::Gsm:
            if (const std::size_t at = kGsmLetters.find(c); at != std::u32string_view::npos)
                return std::string(1, kGsmBytes[at]);
            // The ASCII characters the GSM alphabet keeps in their places.
            if (c < 0x7B && c != U'$' && c != U'@' && (c < U'[' || c > U'`')) return std::string(1, char(c));
            return std::nullopt;
        default:
            return Utf8Of(std::u32string(1, c));
    }
}

// Entries of at most `alphaLongest` characters, never splitting a doubled semicolon or a
// surrogate pair.
std::variant<TypingPlan, TypingRefusal> PlanAlpha(const std::u32string& text, const TextTyping& typing) {
    TypingPlan plan;
    std::string entry;
    int length = 0;
    const auto send = [&](std::size_t done) {
        plan.presses.push_back({plan.presses.empty() ? 0 : typing.pressMs, ";" + entry + ";", std::nullopt});
        plan.charactersDone.push_back(done);
        entry.clear();
        length = 0;
    };
    for (std::size_t index = 0; index < text.size(); ++index) {
        const auto written = AlphaText(text[index], typing.charset);
        if (!written) return Refusal(index, text[index], RefusalReason::NotInCharset);
        const int weight = typing.charset == AlphaCharset::Ucs2 && text[index] > 0xFFFF ? 2 : 1;
        if (weight > typing.alphaLongest) return Refusal(index, text[index], RefusalReason::LongerThanEntry);
        if (length + weight > typing.alphaLongest) send(index);
        entry += *written;
        length += weight;
    }
    if (length > 0) send(text.size());
    return plan;
}

// Each letter pressed on its key as many times as its place in the key's cycle. A letter on the
// key of the letter before it first ends that one: by the next key, or by the wait.
std::variant<TypingPlan, TypingRefusal> PlanMultitap(const std::u32string& text,
                                                     const PhoneProfile& profile) {
    const TextTyping& typing = profile.typing;
    const std::size_t keysPerCommand = std::max(1, typing.keysPerCommand);
    KeypadLetters letters;
    for (int digit = 0; digit < 10; ++digit) letters[digit] = Folded(typing.letters[digit]);
    TypingPlan plan;
    std::size_t keysBefore = 0;
    int lastDigit = -1;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const char32_t letter = FoldedCase(text[index]);
        int digit = 0;
        std::size_t place = std::u32string::npos;
        for (; digit < 10 && place == std::u32string::npos; ++digit) place = letters[digit].find(letter);
        if (place == std::u32string::npos) return Refusal(index, text[index], RefusalReason::NotInLayout);
        --digit;
        const std::string& code = profile.codes[RowNamed(std::string(1, char('0' + digit)))];
        if (code.empty()) return Refusal(index, text[index], RefusalReason::KeyDisabled);
        std::vector<std::string> keys(place + 1, code);
        std::uint32_t wait = 0;
        if (digit == lastDigit && typing.nextCode.empty()) wait = typing.multitapWaitMs;
        if (digit == lastDigit && !typing.nextCode.empty()) keys.insert(keys.begin(), typing.nextCode);
        for (std::size_t first = 0; first < keys.size(); first += keysPerCommand) {
            const std::size_t last = std::min(keys.size(), first + keysPerCommand);
            RecordedPress press{static_cast<std::uint32_t>(keysBefore * typing.pressMs + (first ? 0 : wait)),
                                std::accumulate(keys.begin() + first, keys.begin() + last, std::string()),
                                std::nullopt};
            plan.presses.push_back(std::move(press));
            plan.charactersDone.push_back(last == keys.size() ? index + 1 : index);
            keysBefore = last - first;
        }
        lastDigit = digit;
    }
    return plan;
}

}  // namespace

std::uint64_t TypingPlan::FloorMs() const {
    return std::accumulate(presses.begin(), presses.end(), std::uint64_t{0},
                           [](std::uint64_t sum, const RecordedPress& press) { return sum + press.pauseMs; });
}

std::variant<TypingPlan, TypingRefusal> PlanTyping(std::string_view text, const PhoneProfile& profile) {
    const auto characters = CharactersOf(text);
    if (!characters) {
        const std::size_t before = CharactersBeforeInvalidUtf8(text).value_or(0);
        return TypingRefusal{before + 1, "\uFFFD", RefusalReason::NotUtf8};
    }
    for (std::size_t index = 0; index < characters->size(); ++index)
        if (IsControlCharacter((*characters)[index]))
            return Refusal(index, (*characters)[index], RefusalReason::ControlCharacter);
    auto planned = profile.typing.mode == TextEntryMode::Alpha ? PlanAlpha(*characters, profile.typing)
                                                               : PlanMultitap(*characters, profile);
    if (auto* plan = std::get_if<TypingPlan>(&planned)) plan->characters = characters->size();
    return planned;
}

std::string RefusalText(const TypingRefusal& refusal, Language language) {
    return Worded(kRefusal, language,
                  {refusal.character, std::to_string(refusal.position),
                   Worded(kReasons[static_cast<int>(refusal.reason)], language)});
}

}  // namespace tastolink
