#include "phone/keypad_press.h"

#include "shared/decimal_number.h"

namespace tastolink {
namespace {

constexpr std::string_view kCommandStart = "AT+CKPD=\"";

// clang-format off
constexpr Wording kFaultWords[] = {
    {"нет ни одной клавиши", "no key at all"},
    {"кавычка закончила бы команду", "a quotation mark would end the command"},
    {"управляющий символ", "a control character"},
    {"пробел, запятая или не латинский знак вне «;…;»", "a blank, a comma or a non-ASCII character outside \";...;\""},
    {"двоеточие без клавиши после него", "a colon with no key after it"},
    {"текст после «;» не закрыт второй «;»", "no second \";\" closes the text after the first"},
};
// clang-format on
static_assert(std::size(kFaultWords) == static_cast<std::size_t>(KeypadFault::OpenAlphaEntry) + 1);

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }
// A printable ASCII character other than a blank and the quotation mark.
bool IsVisibleAscii(unsigned char c) { return c > 0x20 && c < 0x7F && c != '"'; }

}  // namespace

std::string CommandOf(const RecordedPress& press) {
    std::string command = std::string(kCommandStart).append(press.code).append("\"");
    if (press.pressTenths) command.append(",").append(std::to_string(*press.pressTenths));
    return command.append("\r\n");
}

std::optional<RecordedPress> PressOfCommand(std::string_view commandLine, std::uint32_t pauseMs) {
    if (!commandLine.starts_with(kCommandStart) || !commandLine.ends_with("\r\n")) return std::nullopt;
    std::string_view rest =
        commandLine.substr(kCommandStart.size(), commandLine.size() - kCommandStart.size() - 2);
    const std::size_t quote = rest.find('"');
    if (quote == std::string_view::npos || KeypadStringFault(rest.substr(0, quote))) return std::nullopt;
    RecordedPress press{pauseMs, std::string(rest.substr(0, quote)), std::nullopt};
    rest.remove_prefix(quote + 1);
    if (rest.empty()) return press;
    if (!rest.starts_with(',')) return std::nullopt;
    press.pressTenths = DecimalNumber<int>(rest.substr(1), kLongestPressTenths);
    if (!press.pressTenths) return std::nullopt;
    return press;
}

KeypadScan ScanKeypadString(std::string_view text) {
    std::size_t at = 0;
    const auto stop = [&](KeypadFault fault) { return KeypadScan{at, fault}; };
    while (at < text.size() && text[at] != ',') {
        const unsigned char c = text[at];
        if (c == '"') return stop(KeypadFault::QuoteMark);
        if (IsControl(c)) return stop(KeypadFault::ControlCharacter);
        if (c == ':') {
            if (++at == text.size()) return stop(KeypadFault::LoneColon);
            if (text[at] == '"') return stop(KeypadFault::QuoteMark);
            if (!IsVisibleAscii(text[at])) return stop(KeypadFault::NotAKey);
        } else if (c == ';') {
            // An alpha entry: anything printable up to a single semicolon.
            for (++at;; ++at) {
                if (at == text.size()) return stop(KeypadFault::OpenAlphaEntry);
                if (text[at] == '"') return stop(KeypadFault::QuoteMark);
                if (IsControl(text[at])) return stop(KeypadFault::ControlCharacter);
                if (text[at] == ';' && text.substr(at, 2) != ";;") break;
                if (text[at] == ';') ++at;
            }
        } else if (!IsVisibleAscii(c)) {
            return stop(KeypadFault::NotAKey);
        }
        ++at;
    }
    return {at, at == 0 ? std::optional(KeypadFault::Empty) : std::nullopt};
}

std::optional<KeypadFault> KeypadStringFault(std::string_view keys) {
    const KeypadScan scan = ScanKeypadString(keys);
    if (scan.fault) return scan.fault;
    if (scan.length < keys.size()) return KeypadFault::NotAKey;
    return std::nullopt;
}

std::string KeypadFaultText(KeypadFault fault, Language language) {
    return Worded(kFaultWords[static_cast<int>(fault)], language);
}

}  // namespace tastolink
