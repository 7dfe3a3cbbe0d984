#include "link/answer_status.h"

#include <utility>

#include "phone/phone_key_table.h"

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
        std::string_view name = RowName(key);
        if (code.size() == 1 && std::string_view("0123456789*#").find(code[0]) != std::string_view::npos)
            name = code;
        return std::string(name) + (longPress ? " долго" : "");
    }
    return "?";
}

void AnswerStatus::PortOpened(const std::string& portName) {
    port_ = portName + " открыт";
    parser_ = AnswerParser();
    GiveUpWaiting("нет ответа");
    owedSinceSilence_ = owedBeforeSilence_ = 0;
}

void AnswerStatus::PortFailed(const std::string& portName, const std::string& reason) {
    port_ = portName + " не открыт: " + reason;
}

void AnswerStatus::PortLost(const std::string& portName) { port_ = portName + " пропал"; }

void AnswerStatus::Sent(std::string_view commandLine) {
    waiting_.push_back(KeyNameOfCommand(commandLine));
    lastKey_ = waiting_.back() + " → …";
    ++sent_;
    if (waiting_.size() > kMostWaiting) {
        waiting_.pop_front();
        ++owedSinceSilence_;
    }
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

void AnswerStatus::Answered(const std::string& answer) {
    // Answers come in the order of the keys: those owed are older than any key waiting.
    if (owedBeforeSilence_ > 0) {
        --owedBeforeSilence_;
    } else if (owedSinceSilence_ > 0) {
        --owedSinceSilence_;
    } else if (!waiting_.empty()) {
        lastKey_ = waiting_.front() + " → " + answer;
        waiting_.pop_front();
        ++(answer == "OK" ? answeredOk_ : answeredNotOk_);
    }
}

void AnswerStatus::GiveUpWaiting(std::string_view shownAs) {
    if (waiting_.empty()) return;
    lastKey_ = waiting_.back() + " → " + std::string(shownAs);
    answeredNotOk_ += static_cast<long>(waiting_.size());
    owedSinceSilence_ += waiting_.size();
    waiting_.clear();
}

void AnswerStatus::Dropped() {
    parser_.Break();
    GiveUpWaiting("ответ потерян");
}

void AnswerStatus::Silence() {
    GiveUpWaiting("нет ответа");
    owedBeforeSilence_ = std::exchange(owedSinceSilence_, 0);
}

bool AnswerStatus::Expecting() const {
    return !waiting_.empty() || owedSinceSilence_ > 0 || owedBeforeSilence_ > 0;
}

std::string AnswerStatus::Counts() const {
    return "Отправлено: " + std::to_string(sent_) + ", OK: " + std::to_string(answeredOk_);
}

}  // namespace tastolink
