#include "phone/phones_file.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "shared/ascii_text.h"
#include "shared/decimal_number.h"
#include "shared/unicode_text.h"

namespace tastolink {
namespace {

constexpr std::size_t kLongestLine = 1024;     // bytes
constexpr std::size_t kLargestFile = 1 << 20;  // bytes
constexpr std::size_t kLongestQuote = 40;      // characters
constexpr std::size_t kMostProblemsShown = 30;

// clang-format off
constexpr Wording kProblemWords[] = {
    {"строка вне раздела: выше нет «[Название]»", "the line is in no section: no \"[Name]\" above it"},
    {"«{}» — не заголовок раздела «[Название]»", "\"{}\" is no section header \"[Name]\""},
    {"профиль «{}» уже есть", "profile \"{}\" already exists"},
    {"нет профиля «{}», от которого начать", "no profile \"{}\" to start from"},
    {"в «{}» нет знака «=»", "\"{}\" has no \"=\""},
    {"неизвестный параметр «{}»", "unknown setting \"{}\""},
    {"«{}» — не целое число в пределах {}", "\"{}\" is not a whole number within {}"},
    {"«{}» — нужно одно из: {}", "\"{}\" is not one of: {}"},
    {"«{}» — не клавиши для AT+CKPD: {}", "\"{}\" is no keys for AT+CKPD: {}"},
    {"«{}» — не команда AT", "\"{}\" is no AT command"},
    {"у «{}» нет значения", "\"{}\" has no value"},
    {"строка не в UTF-8", "the line is not UTF-8"},
    {"управляющий символ {}", "control character {}"},
    {"строка длиннее {} байт", "the line is longer than {} bytes"},
    {"файл больше {} байт", "the file is larger than {} bytes"},
};
constexpr Wording kBoxHead{"В {} есть ошибки; профили с ними пропущены.",
                           "{} has errors; the profiles with them are left out."};
constexpr Wording kBoxLine{"Строка {}: {}", "Line {}: {}"};
constexpr Wording kBoxFile{"Файл: {}", "File: {}"};
constexpr Wording kBoxMore{"…и ещё {}", "...and {} more"};
// clang-format on
static_assert(std::size(kProblemWords) == static_cast<std::size_t>(ProblemKind::FileTooLarge) + 1);

constexpr std::pair<std::string_view, AlphaCharset> kCharsets[] = {
    {"IRA", AlphaCharset::Ira},    {"GSM", AlphaCharset::Gsm},   {"8859-1", AlphaCharset::Latin1},
    {"UTF-8", AlphaCharset::Utf8}, {"UCS2", AlphaCharset::Ucs2},
};

std::string Quote(std::string_view text) { return Quotable(text, kLongestQuote); }

// The setting of one line of a section, kept until the section ends: its base comes first.
struct Setting {
    int line;
    std::string_view key;
    std::string_view value;
};

// The section being read: its profile is made at its end, and left out after any problem.
struct Section {
    int line = 0;
    std::string name;
    std::vector<Setting> settings;
    bool bad = false;
};

class Reader {
public:
    PhonesFile Read(std::string_view bytes);

private:
    void ReadLine(int number, std::string_view line);
    void EndSection();
    // Applies one setting; false after a problem.
    bool Apply(const Setting& setting, PhoneProfile& profile, bool& prepared);
    bool Number(const Setting& setting, int least, int most, auto& value);
    void Problem(int line, ProblemKind kind, std::string_view detail = {}, std::string allowed = {},
                 KeypadFault keysFault = KeypadFault::Empty);

    PhonesFile file_{BuiltInProfiles(), {}};
    std::vector<std::string> sectionNames_;
    std::optional<Section> section_;
};

PhonesFile Reader::Read(std::string_view bytes) {
    if (bytes.size() > kLargestFile) {
        Problem(0, ProblemKind::FileTooLarge, std::to_string(kLargestFile));
        return std::move(file_);
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    int number = 0;
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n"), bytes.size());
        ReadLine(++number, bytes.substr(0, end));
        // CR LF, a lone LF and a lone CR all end a line.
        bytes.remove_prefix(end + (bytes.substr(end, 2) == "\r\n" ? 2 : end < bytes.size() ? 1 : 0));
    }
    EndSection();
    return std::move(file_);
}

void Reader::ReadLine(int number, std::string_view line) {
    if (line.size() > kLongestLine)
        return Problem(number, ProblemKind::LineTooLong, std::to_string(kLongestLine));
    const auto characters = CharactersOf(line);
    if (!characters) return Problem(number, ProblemKind::NotUtf8);
    for (const char32_t c : *characters)
        if (IsControlCharacter(c) && c != U'\t')
            return Problem(number, ProblemKind::ControlCharacter, CodePointName(c));
    // A tab is a blank around a name or a value, never inside one.
    const auto tabbed = [&](std::string_view piece) {
        if (piece.find('\t') == std::string_view::npos) return false;
        Problem(number, ProblemKind::ControlCharacter, CodePointName(U'\t'));
        return true;
    };
    line = TrimmedBlanks(line);
    if (line.empty() || line.starts_with(';') || line.starts_with('#')) return;
    if (line.starts_with('[')) {
        EndSection();
        section_.emplace();
        section_->line = number;
        section_->name = TrimmedBlanks(line.substr(1, line.size() - 1 - line.ends_with(']')));
        if (!line.ends_with(']') || section_->name.empty())
            return Problem(number, ProblemKind::BadSection, line);
        if (tabbed(section_->name)) return;
        if (std::ranges::find(sectionNames_, section_->name) != sectionNames_.end() ||
            ProfileNamed(file_.profiles, section_->name))
            return Problem(number, ProblemKind::DuplicateSection, section_->name);
        sectionNames_.push_back(section_->name);
        return;
    }
    if (!section_) return Problem(number, ProblemKind::OutsideSection);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return Problem(number, ProblemKind::NoEquals, line);
    const Setting setting{number, TrimmedBlanks(line.substr(0, equals)),
                          TrimmedBlanks(line.substr(equals + 1))};
    if (!tabbed(setting.key) && !tabbed(setting.value)) section_->settings.push_back(setting);
}

void Reader::EndSection() {
    if (!section_) return;
    const auto base = std::find_if(section_->settings.rbegin(), section_->settings.rend(),
                                   [](const Setting& setting) { return setting.key == "base"; });
    PhoneProfile profile;
    if (base == section_->settings.rend()) {
        profile = file_.profiles.front();
    } else if (const PhoneProfile* named = ProfileNamed(file_.profiles, base->value)) {
        profile = *named;
    } else {
        Problem(base->line, ProblemKind::UnknownBase, base->value);
    }
    profile.name = section_->name;
    bool prepared = false;
    for (const Setting& setting : section_->settings)
        if (setting.key != "base" && !Apply(setting, profile, prepared)) section_->bad = true;
    if (!section_->bad) file_.profiles.push_back(std::move(profile));
    section_.reset();
}

bool Reader::Number(const Setting& setting, int least, int most, auto& value) {
    const auto number = DecimalNumber<int>(setting.value, most);
    if (!number || *number < least) {
        Problem(setting.line, ProblemKind::BadNumber, setting.value,
                std::to_string(least).append("–").append(std::to_string(most)));
        return false;
    }
    value = *number;
    return true;
}

bool Reader::Apply(const Setting& setting, PhoneProfile& profile, bool& prepared) {
    const std::string_view key = setting.key, value = setting.value;
    TextTyping& typing = profile.typing;
    const auto keys = [&](std::string& code) {
        if (const auto fault = value.empty() ? std::nullopt : KeypadStringFault(value)) {
            Problem(setting.line, ProblemKind::BadKeys, value, {}, *fault);
            return false;
        }
        code = value;
        return true;
    };
    const auto command = [&](std::string& line) {
        if (!EqualIgnoringAsciiCase(value.substr(0, 2), "AT")) {
            Problem(setting.line, ProblemKind::BadCommand, value);
            return false;
        }
        line = value;
        return true;
    };
    const auto choice = [&](auto& chosen, const auto& choices) {
        std::string names;
        for (const auto& [name, meaning] : choices) {
            if (EqualIgnoringAsciiCase(name, value)) return chosen = meaning, true;
            names += (names.empty() ? "" : ", ") + std::string(name);
        }
        Problem(setting.line, ProblemKind::BadChoice, value, names);
        return false;
    };
    if (key == "match") {
        profile.matchWords.clear();
        for (std::string_view words = value; !words.empty();) {
            const std::string_view word = TrimmedBlanks(words.substr(0, words.find(';')));
            if (!word.empty()) profile.matchWords.emplace_back(word);
            words.remove_prefix(std::min(words.find(';'), words.size() - 1) + 1);
        }
        return true;
    }
    if (key == "prepare") {
        if (!prepared) profile.preparation.clear();
        prepared = true;
        std::string line;
        if (value.empty()) return true;
        if (!command(line)) return false;
        profile.preparation.push_back(line);
        return true;
    }
    if (key.starts_with("key.")) {
        const int row = RowNamed(key.substr(4));
        if (row < 0) return Problem(setting.line, ProblemKind::UnknownSetting, key), false;
        return keys(profile.codes[row]);
    }
    if (key.starts_with("letters.") && key.size() == 9 && std::isdigit(static_cast<unsigned char>(key[8]))) {
        if (value.empty()) return Problem(setting.line, ProblemKind::EmptyValue, key), false;
        const int digit = key[8] - '0';
        typing.letters[digit] = WithOwnDigit(CharactersOf(value).value_or(U""), digit);
        return true;
    }
    if (key == "long") return Number(setting, 1, kLongestPressTenths, profile.longPressTenths);
    if (key == "events") return command(profile.eventLine);
    if (key == "text")
        return choice(typing.mode,
                      std::to_array<std::pair<std::string_view, TextEntryMode>>(
                          {{"alpha", TextEntryMode::Alpha}, {"multitap", TextEntryMode::Multitap}}));
    if (key == "alpha_charset") return choice(typing.charset, kCharsets);
    if (key == "alpha_longest") return Number(setting, 1, 1000, typing.alphaLongest);
    if (key == "layout") {
        KeypadLayout layout;
        if (!choice(layout, std::to_array<std::pair<std::string_view, KeypadLayout>>(
                                {{"russian", KeypadLayout::Russian}, {"latin", KeypadLayout::Latin}})))
            return false;
        typing.letters = LettersOf(layout);
        return true;
    }
    if (key == "multitap_wait") return Number(setting, 0, 60000, typing.multitapWaitMs);
    if (key == "next") return keys(typing.nextCode);
    if (key == "keys_per_command") return Number(setting, 1, 64, typing.keysPerCommand);
    if (key == "press_ms") return Number(setting, 0, 10000, typing.pressMs);
    Problem(setting.line, ProblemKind::UnknownSetting, key);
    return false;
}

void Reader::Problem(int line, ProblemKind kind, std::string_view detail, std::string allowed,
                     KeypadFault keysFault) {
    if (section_) section_->bad = true;
    file_.problems.push_back({line, kind, Quote(detail), std::move(allowed), keysFault});
}

}  // namespace

PhonesFile ReadPhonesFile(std::string_view bytes) { return Reader().Read(bytes); }

std::string ProblemText(const ProfileProblem& problem, Language language) {
    const std::string second =
        problem.kind == ProblemKind::BadKeys ? KeypadFaultText(problem.keysFault, language) : problem.allowed;
    return Worded(kProblemWords[static_cast<int>(problem.kind)], language, {problem.detail, second});
}

std::string ProblemsText(const std::vector<ProfileProblem>& problems, Language language,
                         std::string_view fileName) {
    std::string text(Worded(kBoxHead, language, {fileName}));
    for (std::size_t at = 0; at < std::min(problems.size(), kMostProblemsShown); ++at) {
        const ProfileProblem& problem = problems[at];
        const std::string fault = ProblemText(problem, language);
        text.append("\n").append(problem.line
                                     ? Worded(kBoxLine, language, {std::to_string(problem.line), fault})
                                     : Worded(kBoxFile, language, {fault}));
    }
    if (problems.size() > kMostProblemsShown)
        text.append("\n").append(
            Worded(kBoxMore, language, {std::to_string(problems.size() - kMostProblemsShown)}));
    return text;
}

}  // namespace tastolink
