#include "phone/phone_events.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "link/answer_parser.h"
#include "shared/ascii_text.h"

namespace tastolink {
namespace {

// Numbers beyond this are no indicator, key code or element of any phone.
constexpr int kLargestNumber = 99999;

// A cursor over one line. Phones differ in blanks after the colon and around commas: they are
// skipped before every token.
class LineReader {
public:
    explicit LineReader(std::string_view line) : rest_(line) {}

    bool Take(std::string_view literal) {
        SkipBlanks();
        if (!rest_.starts_with(literal)) return false;
        rest_.remove_prefix(literal.size());
        return true;
    }
    bool Peek(char c) {
        SkipBlanks();
        return !rest_.empty() && rest_.front() == c;
    }
    std::optional<int> Number() {
        SkipBlanks();
        std::size_t digits = 0;
        while (digits < rest_.size() && std::isdigit(static_cast<unsigned char>(rest_[digits]))) ++digits;
        if (digits == 0 || digits > 5) return std::nullopt;
        int value = 0;
        std::from_chars(rest_.data(), rest_.data() + digits, value);
        rest_.remove_prefix(digits);
        return value;
    }
    // The text between two double quotes, which holds none.
    std::optional<std::string_view> Quoted() {
        if (!Take("\"")) return std::nullopt;
        const std::size_t end = rest_.find('"');
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view text = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        return text;
    }
    // The text between a double quote and the one that ends the line: phones write a display's
    // quotes as they are.
    std::optional<std::string_view> QuotedToEnd() {
        SkipBlanks();
        while (rest_.ends_with(' ')) rest_.remove_suffix(1);
        if (rest_.size() < 2 || !rest_.starts_with('"') || !rest_.ends_with('"')) return std::nullopt;
        const std::string_view text = rest_.substr(1, rest_.size() - 2);
        rest_ = {};
        return text;
    }
    bool AtEnd() {
        SkipBlanks();
        return rest_.empty();
    }

private:
    void SkipBlanks() {
        while (!rest_.empty() && rest_.front() == ' ') rest_.remove_prefix(1);
    }

    std::string_view rest_;
};

std::optional<std::string> TextIn(std::string_view text, CharacterSet set) {
    if (set == CharacterSet::Ucs2) return Utf8FromUcs2Hex(text);
    return std::string(text);
}

bool IsKeyCharacter(char c) { return c > ' ' && c < 0x7f && c != '"'; }

// A key as AT+CKPD writes it: one character, or a colon and one character.
bool IsKeyCode(std::string_view key) {
    if (key.size() == 2) return key[0] == ':' && IsKeyCharacter(key[1]);
    return key.size() == 1 && IsKeyCharacter(key[0]);
}

std::optional<PhoneEvent> KeyEvent(LineReader& reader, CharacterSet set) {
    std::string key;
    if (reader.Peek('"')) {
        const auto quoted = reader.Quoted();
        if (!quoted) return std::nullopt;
        // In UCS2 some phones write even the key in hex ("0031"); others keep "1".
        const auto decoded = set == CharacterSet::Ucs2 ? Utf8FromUcs2Hex(*quoted) : std::nullopt;
        key = decoded && !decoded->empty() ? *decoded : std::string(*quoted);
    } else {
        const auto code = reader.Number();
        if (!code || *code > 0x7f) return std::nullopt;
        key = std::string(1, static_cast<char>(*code));
    }
    if (!IsKeyCode(key) || !reader.Take(",")) return std::nullopt;
    const int press = reader.Number().value_or(-1);
    if ((press != 0 && press != 1) || !reader.AtEnd()) return std::nullopt;
    return PhoneKeyEvent{key, press == 1};
}

std::optional<PhoneEvent> IndicatorChange(LineReader& reader) {
    const auto index = reader.Number();
    const auto value = reader.Take(",") ? reader.Number() : std::nullopt;
    if (!index || *index == 0 || !value || !reader.AtEnd()) return std::nullopt;
    return IndicatorEvent{*index, *value};
}

std::optional<PhoneEvent> DisplayChange(LineReader& reader, CharacterSet set) {
    const auto element = reader.Number();
    const auto quoted = element && reader.Take(",") ? reader.QuotedToEnd() : std::nullopt;
    const auto text = quoted ? TextIn(*quoted, set) : std::nullopt;
    if (!text || !reader.AtEnd()) return std::nullopt;
    return DisplayEvent{*element, *text};
}

// ("name",(0-5)) or ("name",(0,1)) or ("name",(0-1,3)): the range is the lowest to the highest.
std::optional<Indicator> OneIndicator(LineReader& reader, CharacterSet set) {
    if (!reader.Take("(")) return std::nullopt;
    const auto quoted = reader.Quoted();
    const auto name = quoted ? TextIn(*quoted, set) : std::nullopt;
    if (!name || !reader.Take(",") || !reader.Take("(")) return std::nullopt;
    Indicator indicator{*name, kLargestNumber, 0};
    do {
        const auto low = reader.Number();
        const auto high = low && reader.Take("-") ? reader.Number() : low;
        if (!high || *high < *low) return std::nullopt;
        indicator.lowest = std::min(indicator.lowest, *low);
        indicator.highest = std::max(indicator.highest, *high);
    } while (reader.Take(","));
    if (!reader.Take(")") || !reader.Take(")")) return std::nullopt;
    return indicator;
}

std::optional<PhoneEvent> Indicators(LineReader& reader, CharacterSet set) {
    if (reader.Peek('(')) {
        IndicatorList list;
        do {
            auto indicator = OneIndicator(reader, set);
            if (!indicator) return std::nullopt;
            list.indicators.push_back(std::move(*indicator));
        } while (reader.Take(","));
        if (!reader.AtEnd()) return std::nullopt;
        return list;
    }
    IndicatorValues values;
    do {
        const auto value = reader.Number();
        if (!value) return std::nullopt;
        values.values.push_back(*value);
    } while (reader.Take(","));
    if (!reader.AtEnd()) return std::nullopt;
    return values;
}

std::string Normalized(std::string_view line) {
    std::string normal = AsciiUppercase(line);
    std::erase(normal, ' ');
    return normal;
}

// Where `line` stands in kEventReportForms, compared without regard to case and blanks; their count
// for a line not listed.
std::size_t ListedForm(std::string_view line) {
    const std::string normal = Normalized(line);
    for (std::size_t form = 0; form < kEventReportForms.size(); ++form)
        if (Normalized(kEventReportForms[form].line) == normal) return form;
    return kEventReportForms.size();
}

}  // namespace

std::optional<PhoneEvent> ParsePhoneEvent(std::string_view line, CharacterSet set) {
    if (line.size() > kLongestAnswerLine) return std::nullopt;
    LineReader reader(line);
    if (reader.Take("+CKEV:")) return KeyEvent(reader, set);
    if (reader.Take("+CIEV:")) return IndicatorChange(reader);
    if (reader.Take("+CDEV:")) return DisplayChange(reader, set);
    if (reader.Take("+CIND:")) return Indicators(reader, set);
    return std::nullopt;
}

std::span<const EventReportForm> NarrowerEventReports(std::string_view refusedLine) {
    const std::size_t form = ListedForm(refusedLine);
    if (form == kEventReportForms.size()) return kEventReportForms;
    return std::span(kEventReportForms).subspan(form + 1);
}

EventReportForm ReportFormOf(std::string_view line) {
    if (const std::size_t form = ListedForm(line); form < kEventReportForms.size())
        return kEventReportForms[form];
    const std::string normal = Normalized(line);
    constexpr std::string_view kStart = "AT+CMER=";
    if (!normal.starts_with(kStart)) return {line, false, false, false, false};
    // <mode>,<keyp>,<disp>,<ind>: a value left out, or not one digit, counts as 0.
    std::array<int, 4> values{};
    std::string_view rest = std::string_view(normal).substr(kStart.size());
    for (int& value : values) {
        const std::string_view part = rest.substr(0, rest.find(','));
        if (part.size() == 1 && std::isdigit(static_cast<unsigned char>(part[0]))) value = part[0] - '0';
        rest.remove_prefix(std::min(rest.size(), part.size() + 1));
    }
    const auto [mode, keyp, disp, ind] = values;
    const bool reports = mode > 0;
    return {line, reports && (keyp == 1 || keyp == 2), reports && keyp == 2,
            reports && (disp == 1 || disp == 2), reports && (ind == 1 || ind == 2)};
}

}  // namespace tastolink
