#include "recording/key_sequence.h"

#include <algorithm>

#include "shared/ascii_text.h"
#include "shared/decimal_number.h"

namespace tastolink {
namespace {

constexpr std::string_view kBlanks = " \t";

// clang-format off
constexpr Wording kNoKey{"после паузы нет клавиши: «{}»", "no key after the pause: \"{}\""};
constexpr Wording kBadPause{"пауза «{}» — не число миллисекунд", "pause \"{}\" is not a number of milliseconds"};
constexpr Wording kBadPressTime{"время нажатия «{}» — не число десятых секунды от 0 до {}",
                                "press time \"{}\" is not a number of tenths of a second from 0 to {}"};
constexpr Wording kBadKeys{"«{}» — не клавиши для AT+CKPD: {}", "\"{}\" is no keys for AT+CKPD: {}"};
constexpr Wording kNoPresses{"в файле нет ни одного нажатия", "the file holds no press"};
// clang-format on

// The press of one line that holds a command, or what is wrong with it.
std::variant<RecordedPress, std::string> ParseLine(std::string_view line,
                                                   const std::function<std::string(std::string_view)>& quote,
                                                   Language language) {
    const std::size_t gap = line.find_first_of(kBlanks);
    if (gap == std::string_view::npos) return Worded(kNoKey, language, {quote(line)});
    const std::string_view pause = line.substr(0, gap);
    const std::string_view keys = TrimmedBlanks(line.substr(gap));
    RecordedPress press;
    const auto milliseconds = DecimalNumber<std::uint32_t>(pause, UINT32_MAX);
    if (!milliseconds) return Worded(kBadPause, language, {quote(pause)});
    press.pauseMs = *milliseconds;
    // A comma inside an alpha entry is text: the press time follows the keys.
    const KeypadScan scan = ScanKeypadString(keys);
    if (scan.fault) return Worded(kBadKeys, language, {quote(keys), KeypadFaultText(*scan.fault, language)});
    if (scan.length < keys.size()) {
        const std::string_view time = keys.substr(scan.length + 1);
        press.pressTenths = DecimalNumber<int>(time, kLongestPressTenths);
        if (!press.pressTenths)
            return Worded(kBadPressTime, language, {quote(time), std::to_string(kLongestPressTenths)});
    }
    press.code = keys.substr(0, scan.length);
    return press;
}

}  // namespace

std::string SequenceLine(const RecordedPress& press) {
    std::string line = std::to_string(press.pauseMs).append(" ").append(press.code);
    if (press.pressTenths) line.append(",").append(std::to_string(*press.pressTenths));
    return line;
}

std::variant<std::vector<RecordedPress>, SequenceError> ParseKeySequence(
    std::string_view fileBytes, const std::function<std::string(std::string_view)>& quote,
    Language language) {
    std::vector<RecordedPress> presses;
    int number = 0;
    while (!fileBytes.empty()) {
        ++number;
        const std::size_t end = std::min(fileBytes.find_first_of("\r\n"), fileBytes.size());
        const std::string_view line = TrimmedBlanks(fileBytes.substr(0, end));
        // CR LF, a lone LF and a lone CR all end a line.
        fileBytes.remove_prefix(end + (fileBytes.substr(end, 2) == "\r\n" ? 2
                                       : end < fileBytes.size()           ? 1
                                                                          : 0));
        if (line.empty() || line.starts_with('#')) continue;
        auto parsed = ParseLine(line, quote, language);
        if (auto* what = std::get_if<std::string>(&parsed)) return SequenceError{number, std::move(*what)};
        presses.push_back(std::move(std::get<RecordedPress>(parsed)));
    }
    if (presses.empty()) return SequenceError{0, Worded(kNoPresses, language)};
    return presses;
}

}  // namespace tastolink
