#include "app/features/window_conversation.h"

#include <algorithm>

#include "app/window/message_ids.h"

namespace tastolink {

WindowConversation::WindowConversation(SerialPortOpener& ports)
    : conversation_(ports, [this] { PostMessageW(window_.load(), kPhoneNewsMessage, 0, 0); }) {
    conversation_.AddListener(texts_);
    conversation_.AddListener(*this);
}

WindowConversation::~WindowConversation() {
    conversation_.RemoveListener(*this);
    conversation_.RemoveListener(texts_);
}

void WindowConversation::OnNews() { conversation_.TakeNews(); }

void WindowConversation::OnCheckTimer() {
    timerAt_.reset();  // a timer ticks again and again: it is set anew or ended now
    KillTimer(window_, kAnswerCheckTimerId);
    conversation_.CheckTime();
    FollowCheckTime();
}

// Only a line sent or answered moves the time of the next check: what the phone says of its own
// passes by at full speed.
void WindowConversation::Heard(const ConversationEvent& event) {
    if (std::holds_alternative<heard::Written>(event) || std::holds_alternative<heard::Answered>(event) ||
        std::holds_alternative<heard::Unanswered>(event) || std::holds_alternative<heard::AnswerGone>(event))
        FollowCheckTime();
}

void WindowConversation::FollowCheckTime() {
    const auto due = conversation_.TimeToCheck();
    const auto at = due ? std::optional(PhoneConversation::SteadyMs() + *due) : std::nullopt;
    if (at == timerAt_) return;
    timerAt_ = at;
    if (!due) {
        KillTimer(window_, kAnswerCheckTimerId);
        return;
    }
    // A timer ticks at least every USER_TIMER_MINIMUM.
    SetTimer(window_, kAnswerCheckTimerId, static_cast<UINT>(std::clamp<std::uint64_t>(*due, 10, 60000)),
             nullptr);
}

}  // namespace tastolink
