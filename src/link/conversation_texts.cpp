#include "link/conversation_texts.h"

#include <type_traits>

namespace tastolink {
namespace {

// clang-format off
constexpr Wording kCannotChoose{"Невозможно выбрать {}", "Cannot open {}"};
constexpr Wording kCannotSend{"Невозможно отправить {}", "Cannot send to {}"};
constexpr Wording kWriteFailed{"запись не прошла", "the write failed or timed out"};
constexpr Wording kPortGone{"порт пропал", "the port is gone"};
constexpr Wording kNoPortChosen{"порт не выбран", "no port is open"};
constexpr Wording kAbsent{"нет такого порта", "no such port"};
constexpr Wording kBusy{"порт занят", "the port is busy"};
constexpr Wording kBusyHeld{"порт занят: {}", "the port is busy, held by {}"};
constexpr Wording kNotADevice{"не устройство", "not a serial device"};
constexpr Wording kRefused{"не принимает настройки порта", "the port refuses its settings"};
constexpr Wording kOtherFailure{"ошибка {}", "error {}"};
constexpr Wording kNoPort{"Порт не выбран", "No port"};
constexpr Wording kOpened{"{} открыт", "{} open"};
constexpr Wording kNotOpened{"{} не открыт: {}", "{} not open: {}"};
constexpr Wording kLost{"{} пропал", "{} is gone"};
constexpr Wording kWaited{"{} пропал — жду", "{} is gone, waiting"};
constexpr Wording kWaitedNotSent{"{} пропал — жду; не отправлено: {}", "{} is gone, waiting; not sent: {}"};
constexpr Wording kBack{"{} снова на связи", "{} is back"};
constexpr Wording kKeyAnswer{"{} → {}", "{} -> {}"};
constexpr Wording kPending{"…", "..."};
constexpr Wording kNoAnswer{"нет ответа", "no answer"};
constexpr Wording kAnswerLost{"ответ потерян", "answer lost"};
constexpr Wording kLate{"{}, через {} с", "{}, after {} s"};
constexpr Wording kCounts{"Отправлено: {}, OK: {}", "Sent: {}, OK: {}"};
// clang-format on

// Tenths of a second: 1500 ms is "1,5" in Russian, "1.5" in English.
std::string Seconds(std::uint64_t ms, Language language) {
    const std::uint64_t tenths = (ms + 50) / 100;
    return std::to_string(tenths / 10) + (language == Language::Russian ? "," : ".") +
           std::to_string(tenths % 10);
}

}  // namespace

std::string CannotChooseText(const heard::NotOpened& event, Language language) {
    return Worded(kCannotChoose, language, {event.port});
}

std::string CannotSendText(const heard::NotWritten& event, Language language) {
    if (event.why == heard::NotWritten::Why::Waiting) return {};
    return Worded(kCannotSend, language, {event.port});
}

std::string NotWrittenReasonText(heard::NotWritten::Why why, Language language) {
    switch (why) {
        case heard::NotWritten::Why::NoPort:
            return Worded(kNoPortChosen, language);
        case heard::NotWritten::Why::Failed:
            return Worded(kWriteFailed, language);
        case heard::NotWritten::Why::Lost:
        case heard::NotWritten::Why::Waiting:
            break;
    }
    return Worded(kPortGone, language);
}

std::string PortFailureText(const PortFailure& failure, Language language) {
    switch (failure.kind) {
        case PortFailure::Kind::Absent:
            return Worded(kAbsent, language);
        case PortFailure::Kind::Busy:
            return failure.holder.empty() ? Worded(kBusy, language)
                                          : Worded(kBusyHeld, language, {failure.holder});
        case PortFailure::Kind::NotADevice:
            return Worded(kNotADevice, language);
        case PortFailure::Kind::Refused:
            return Worded(kRefused, language);
        case PortFailure::Kind::Other:
            break;
    }
    return Worded(kOtherFailure, language, {std::to_string(failure.systemError)});
}

std::string PortLostText(const std::string& port, Language language) {
    return Worded(kLost, language, {port});
}

ConversationTexts::ConversationTexts(Language language)
    : language_(language), port_(Worded(kNoPort, language)) {}

void ConversationTexts::Heard(const ConversationEvent& event) {
    std::visit(
        [this](const auto& happened) {
            using Event = std::decay_t<decltype(happened)>;
            if constexpr (std::is_same_v<Event, heard::Opened>) {
                port_ = Worded(kOpened, language_, {happened.port});
                watch_.clear();
            } else if constexpr (std::is_same_v<Event, heard::NotOpened>) {
                port_ = Worded(kNotOpened, language_,
                               {happened.port, PortFailureText(happened.failure, language_)});
                watch_.clear();
            } else if constexpr (std::is_same_v<Event, heard::Written>) {
                lastKey_ =
                    Worded(kKeyAnswer, language_, {happened.command.name, Worded(kPending, language_)});
                ++tally_.sent;
            } else if constexpr (std::is_same_v<Event, heard::NotWritten>) {
                if (happened.why == heard::NotWritten::Why::Waiting)
                    watch_ = Worded(kWaitedNotSent, language_,
                                    {happened.port, std::to_string(happened.notSentMeanwhile)});
            } else if constexpr (std::is_same_v<Event, heard::Answered>) {
                lastKey_ = Worded(kKeyAnswer, language_, {happened.command.name, happened.answer});
                if (happened.late)
                    lastKey_ = Worded(kLate, language_, {lastKey_, Seconds(happened.afterMs, language_)});
                ++(happened.answer == "OK" ? tally_.ok : tally_.notOk);
            } else if constexpr (std::is_same_v<Event, heard::Unanswered>) {
                lastKey_ = Worded(
                    kKeyAnswer, language_,
                    {happened.command.name, Worded(happened.bytesLost ? kAnswerLost : kNoAnswer, language_)});
            } else if constexpr (std::is_same_v<Event, heard::AnswerGone>) {
                ++tally_.notOk;
            } else if constexpr (std::is_same_v<Event, heard::PhoneSaid>) {
                phoneSaid_ = happened.line;
            } else if constexpr (std::is_same_v<Event, heard::PortLost>) {
                port_ = PortLostText(happened.port, language_);
                watch_ = happened.waiting ? Worded(kWaited, language_, {happened.port}) : "";
            } else if constexpr (std::is_same_v<Event, heard::PortBack>) {
                port_ = Worded(kOpened, language_, {happened.port});
                watch_ = Worded(kBack, language_, {happened.port});
            }
        },
        event);
}

std::string ConversationTexts::Counts() const {
    return Worded(kCounts, language_, {std::to_string(tally_.sent), std::to_string(tally_.ok)});
}

}  // namespace tastolink
