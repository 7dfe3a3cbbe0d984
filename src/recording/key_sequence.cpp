#include "recording/key_sequence.h"

#include <algorithm>
#include <charconv>

#include "phone/phone_key_table.h"

namespace tastolink {
namespace {

constexpr std::string_view kCommandStart = "AT+CKPD=\"";
constexpr std::string_view kBlanks = " \t";

bool IsPhoneKey(std::string_view code) {
    return std::any_of(kPhoneKeyTable.begin(), kPhoneKeyTable.end(),
                       [&](const PhoneKey& key) { return key.code == code; });
}

// A whole number of digits only, within `most`.
template <typename Number>
std::optional<Number> Digits(std::string_view text, Number most) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > most ||
        text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return value;
}

std::string_view Trimmed(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(kBlanks), text.size()));
    text.remove_suffix(text.size() - std::min(text.find_last_not_of(kBlanks) + 1, text.size()));
    return text;
}

// The press of one line that holds a command, or what is wrong with it.
std::variant<RecordedPress, std::string> ParseLine(
    std::string_view line, const std::function<std::string(std::string_view)>& quote) {
    const std::size_t gap = line.find_first_of(kBlanks);
    if (gap == std::string_view::npos) return "после паузы нет клавиши: «" + quote(line) + "»";
    const std::string_view pause = line.substr(0, gap);
    std::string_view key = Trimmed(line.substr(gap));
    RecordedPress press;
    const auto milliseconds = Digits<std::uint32_t>(pause, UINT32_MAX);
    if (!milliseconds) return "пауза «" + quote(pause) + "» — не число миллисекунд";
    press.pauseMs = *milliseconds;
    if (const std::size_t comma = key.find(','); comma != std::string_view::npos) {
        const std::string_view time = key.substr(comma + 1);
        const auto tenths = Digits<int>(time, kLongestPressTenths);
        if (!tenths)
            return "время нажатия «" + quote(time) + "» — не число десятых секунды от 0 до " +
                   std::to_string(kLongestPressTenths);
        press.pressTenths = *tenths;
        key = key.substr(0, comma);
    }
    if (!IsPhoneKey(key)) return "нет такой клавиши телефона: «" + quote(key) + "»";
    press.code = key;
    return press;
}

}  // namespace

std::string SequenceLine(const RecordedPress& press) {
    std::string line = std::to_string(press.pauseMs) + " " + press.code;
    if (press.pressTenths) line += "," + std::to_string(*press.pressTenths);
    return line;
}

std::string CommandOf(const RecordedPress& press) {
    std::string command = std::string(kCommandStart) + press.code + "\"";
    if (press.pressTenths) command += "," + std::to_string(*press.pressTenths);
    return command + "\r\n";
}

std::optional<RecordedPress> PressOfCommand(std::string_view commandLine, std::uint32_t pauseMs) {
    if (!commandLine.starts_with(kCommandStart) || !commandLine.ends_with("\r\n")) return std::nullopt;
    std::string_view rest =
        commandLine.substr(kCommandStart.size(), commandLine.size() - kCommandStart.size() - 2);
    const std::size_t quote = rest.find('"');
    if (quote == std::string_view::npos || !IsPhoneKey(rest.substr(0, quote))) return std::nullopt;
    RecordedPress press{pauseMs, std::string(rest.substr(0, quote)), std::nullopt};
    rest.remove_prefix(quote + 1);
    if (rest.empty()) return press;
    if (!rest.starts_with(',')) return std::nullopt;
    press.pressTenths = Digits<int>(rest.substr(1), kLongestPressTenths);
    if (!press.pressTenths) return std::nullopt;
    return press;
}

std::variant<std::vector<RecordedPress>, SequenceError> ParseKeySequence(
    std::string_view fileBytes, const std::function<std::string(std::string_view)>& quote) {
    std::vector<RecordedPress> presses;
    int number = 0;
    while (!fileBytes.empty()) {
        ++number;
        const std::size_t end = std::min(fileBytes.find_first_of("\r\n"), fileBytes.size());
        const std::string_view line = Trimmed(fileBytes.substr(0, end));
        // CR LF, a lone LF and a lone CR all end a line.
        fileBytes.remove_prefix(end + (fileBytes.substr(end, 2) == "\r\n" ? 2
                                       : end < fileBytes.size()           ? 1
                                                                          : 0));
        if (line.empty() || line.starts_with('#')) continue;
        auto parsed = ParseLine(line, quote);
        if (auto* what = std::get_if<std::string>(&parsed)) return SequenceError{number, std::move(*what)};
        presses.push_back(std::move(std::get<RecordedPress>(parsed)));
    }
    if (presses.empty()) return SequenceError{0, "в файле нет ни одного нажатия"};
    return presses;
}

}  // namespace tastolink
