#include "link/answer_status.h"

#include "link/phone_key_table.h"

namespace tastolink {

std::string KeyNameOfCommand(std::string_view line) {
    constexpr std::string_view kPrefix = "AT+CKPD=\"";
    if (!line.starts_with(kPrefix)) return "?";
    line.remove_prefix(kPrefix.size());
    const std::size_t quote = line.find('"');
    if (quote == std::string_view::npos) return "?";
    const std::string_view code = line.substr(0, quote);
    const bool longPress = line.substr(quote + 1).starts_with(',');
    for (const PhoneKey& key : kPhoneKeyTable) {
        if (key.code != code) continue;
        std::string_view name = key.label;
        if (code.size() == 1 && std::string_view("0123456789*#").find(code[0]) != std::string_view::npos)
            name = code;
        while (name.ends_with('.')) name.remove_suffix(1);
        return std::string(name) + (longPress ? " долго" : "");
    }
    return "?";
}

void AnswerStatus::PortOpened(const std::string& portName) { port_ = portName + " открыт"; }
void AnswerStatus::PortFailed(const std::string& portName, const std::string& reason) {
    port_ = portName + " не открыт: " + reason;
}
void AnswerStatus::PortLost(const std::string& portName) { port_ = portName + " пропал"; }

void AnswerStatus::Sent(std::string_view commandLine) {
    key_ = KeyNameOfCommand(commandLine);
    lastKey_ = key_ + " → …";
    ++sent_;
    waiting_ = true;
}

void AnswerStatus::Received(std::string_view bytes) {
    for (const PhoneAnswer& answer : parser_.Feed(bytes)) {
        switch (answer.kind) {
            case AnswerKind::Echo:
                break;
            case AnswerKind::Unsolicited:
                unsolicited_ = answer.line;
                break;
            case AnswerKind::Ok:
            case AnswerKind::Error:
            case AnswerKind::CmeError:
                Answered(answer.line);
                break;
        }
    }
}

void AnswerStatus::Dropped() { parser_.Break(); }

void AnswerStatus::Answered(const std::string& answer) {
    if (key_.empty()) return;  // nothing of ours was asked
    if (answer == "OK") ++answeredOk_;
    lastKey_ = key_ + " → " + answer;
    waiting_ = false;
}

void AnswerStatus::Silence() {
    if (!waiting_) return;
    lastKey_ = key_ + " → нет ответа";
    waiting_ = false;
}

std::string AnswerStatus::Counts() const {
    return "Отправлено: " + std::to_string(sent_) + ", OK: " + std::to_string(answeredOk_);
}

}  // namespace tastolink
