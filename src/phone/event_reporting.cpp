#include "phone/event_reporting.h"

#include <string_view>
#include <utility>

namespace tastolink {
namespace {

PhoneCommand LineCommand(const std::string& line) { return {line + "\r\n", line}; }

// "клавиши", "клавиши и индикаторы", "клавиши, экран и индикаторы".
std::string Listed(const std::vector<std::string_view>& parts) {
    std::string text;
    for (std::size_t part = 0; part < parts.size(); ++part) {
        if (part > 0) text += part + 1 == parts.size() ? " и " : ", ";
        text += parts[part];
    }
    return text;
}

}  // namespace

EventReporting::EventReporting(PhoneConversation& conversation, std::string profileLine,
                               std::function<void()> changed)
    : conversation_(conversation), changed_(std::move(changed)) {
    for (const EventReportForm& form : NarrowerEventReports(profileLine)) lines_.emplace_back(form.line);
    lines_.insert(lines_.begin(), std::move(profileLine));
    conversation_.AddListener(*this);
}

EventReporting::~EventReporting() { conversation_.RemoveListener(*this); }

void EventReporting::Start() { Ask(); }

void EventReporting::Ask() {
    if (asked_ == lines_.size()) return Settle(State::Unsupported);
    // A line that could not be written says the port is gone: the next would fare no better.
    if (!conversation_.Send(LineCommand(lines_[asked_]))) Settle(State::Unanswered);
}

void EventReporting::Heard(const ConversationEvent& event) {
    if (state_ != State::Asking) return;
    const PhoneCommand waiting = LineCommand(lines_[asked_]);
    if (const auto* gone = std::get_if<heard::AnswerGone>(&event); gone && gone->command == waiting)
        return Settle(State::Unanswered);
    const auto* answered = std::get_if<heard::Answered>(&event);
    if (!answered || answered->command != waiting) return;
    if (answered->answer != "OK") {
        ++asked_;
        return Ask();
    }
    Settle(State::Reporting);
    // Phones number their indicators differently: the names say which is which.
    if (Taken()->indicators && conversation_.Send(LineCommand("AT+CIND=?")))
        conversation_.Send(LineCommand("AT+CIND?"));
}

void EventReporting::Settle(State state) {
    state_ = state;
    if (changed_) changed_();
}

std::optional<EventReportForm> EventReporting::Taken() const {
    if (state_ != State::Reporting) return std::nullopt;
    return ReportFormOf(lines_[asked_]);
}

std::string EventReporting::Text() const {
    switch (state_) {
        case State::Asking:
            return "События: включаю…";
        case State::Unsupported:
            return "События: не поддерживаются";
        case State::Unanswered:
            return "События: телефон не ответил";
        case State::Reporting:
            break;
    }
    const EventReportForm form = *Taken();
    std::vector<std::string_view> parts;
    if (form.keys) parts.push_back("клавиши");
    if (form.display) parts.push_back("экран");
    if (form.indicators) parts.push_back("индикаторы");
    return "События: " + (parts.empty() ? std::string("выключены") : Listed(parts));
}

}  // namespace tastolink
