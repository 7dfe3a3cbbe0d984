#include "link/conversation_texts.h"

#include <type_traits>

namespace tastolink {
namespace {

// Tenths of a second with a decimal comma: 1500 ms is "1,5".
std::string Seconds(std::uint64_t ms) {
    const std::uint64_t tenths = (ms + 50) / 100;
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
}

}  // namespace

std::string CannotChooseText(const heard::NotOpened& event) { return "Невозможно выбрать " + event.port; }

std::string CannotSendText(const heard::NotWritten& event) {
    if (event.why == heard::NotWritten::Why::Waiting) return {};
    return "Невозможно отправить " + event.port;
}

std::string PortFailureText(const PortFailure& failure) {
    switch (failure.kind) {
        case PortFailure::Kind::Absent:
            return "нет такого порта";
        case PortFailure::Kind::Busy:
            return failure.holder.empty() ? "порт занят" : "порт занят: " + failure.holder;
        case PortFailure::Kind::NotADevice:
            return "не устройство";
        case PortFailure::Kind::Refused:
            return "не принимает настройки порта";
        case PortFailure::Kind::Other:
            break;
    }
    return "ошибка " + std::to_string(failure.systemError);
}

void ConversationTexts::Heard(const ConversationEvent& event) {
    std::visit(
        [this](const auto& happened) {
            using Event = std::decay_t<decltype(happened)>;
            if constexpr (std::is_same_v<Event, heard::Opened>) {
                port_ = happened.port + " открыт";
                watch_.clear();
            } else if constexpr (std::is_same_v<Event, heard::NotOpened>) {
                port_ = happened.port + " не открыт: " + PortFailureText(happened.failure);
                watch_.clear();
            } else if constexpr (std::is_same_v<Event, heard::Written>) {
                lastKey_ = happened.command.name + " → …";
                ++tally_.sent;
            } else if constexpr (std::is_same_v<Event, heard::NotWritten>) {
                if (happened.why == heard::NotWritten::Why::Waiting)
                    watch_ = happened.port +
                             " пропал — жду; не отправлено: " + std::to_string(happened.notSentMeanwhile);
            } else if constexpr (std::is_same_v<Event, heard::Answered>) {
                lastKey_ = happened.command.name + " → " + happened.answer;
                if (happened.late) lastKey_ += ", через " + Seconds(happened.afterMs) + " с";
                ++(happened.answer == "OK" ? tally_.ok : tally_.notOk);
            } else if constexpr (std::is_same_v<Event, heard::Unanswered>) {
                lastKey_ =
                    happened.command.name + (happened.bytesLost ? " → ответ потерян" : " → нет ответа");
            } else if constexpr (std::is_same_v<Event, heard::AnswerGone>) {
                ++tally_.notOk;
            } else if constexpr (std::is_same_v<Event, heard::PhoneSaid>) {
                phoneSaid_ = happened.line;
            } else if constexpr (std::is_same_v<Event, heard::PortLost>) {
                port_ = happened.port + " пропал";
                watch_ = happened.waiting ? happened.port + " пропал — жду" : "";
            } else if constexpr (std::is_same_v<Event, heard::PortBack>) {
                port_ = happened.port + " открыт";
                watch_ = happened.port + " снова на связи";
            }
        },
        event);
}

std::string ConversationTexts::Counts() const {
    return "Отправлено: " + std::to_string(tally_.sent) + ", OK: " + std::to_string(tally_.ok);
}

}  // namespace tastolink
