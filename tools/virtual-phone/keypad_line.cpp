#include "keypad_line.h"

namespace tastolink::virtual_phone {

std::vector<std::string> LineSplitter::Feed(std::string_view bytes) {
    std::vector<std::string> lines;
    for (char byte : bytes) {
        pending_ += byte;
        if (byte == '\n' || pending_.size() >= kLongestLine) {
            lines.push_back(std::move(pending_));
            pending_.clear();
        }
    }
    return lines;
}

std::optional<int> RowOfLine(std::string_view line) {
    constexpr std::string_view kPrefix = "AT+CKPD=\"";
    if (line.ends_with("\r\n"))
        line.remove_suffix(2);
    else if (line.ends_with('\n'))
        line.remove_suffix(1);
    else
        return std::nullopt;
    if (line.size() <= kPrefix.size() || !line.starts_with(kPrefix) || !line.ends_with('"'))
        return std::nullopt;
    const std::string_view code = line.substr(kPrefix.size(), line.size() - kPrefix.size() - 1);
    for (int row = 0; row < kPhoneKeyCount; ++row)
        if (kPhoneKeyTable[row].code == code) return row;
    return std::nullopt;
}

std::string_view ShownKeyName(const PhoneKey& key) {
    if (key.code.size() == 1 && std::string_view("0123456789*#").find(key.code[0]) != std::string_view::npos)
        return key.code;
    std::string_view name = key.label;
    while (name.ends_with('.')) name.remove_suffix(1);
    return name;
}

std::string HexBytes(std::string_view bytes) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0f];
    }
    return hex;
}

std::string Printable(std::string_view bytes) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : bytes) {
        if (byte == '\r')
            text += "\\r";
        else if (byte == '\n')
            text += "\\n";
        else if (byte == '"' || byte == '\\')
            text += '\\', text += static_cast<char>(byte);
        else if (byte >= 0x20 && byte < 0x7f)
            text += static_cast<char>(byte);
        else
            text += "\\x", text += kDigits[byte >> 4], text += kDigits[byte & 0x0f];
    }
    return text;
}

std::string LogLine(std::int64_t monotonicMs, std::string_view line, std::optional<int> row) {
    std::string text = std::to_string(monotonicMs) + ' ' + HexBytes(line) + ' ';
    text += row ? std::to_string(*row + 1) : "-";
    return text;
}

}  // namespace tastolink::virtual_phone
