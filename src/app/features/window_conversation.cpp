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
    conversation_.CheckTime();
    FollowCheckTime();
}

void WindowConversation::Heard(const ConversationEvent&) { FollowCheckTime(); }

void WindowConversation::FollowCheckTime() {
    const auto due = conversation_.TimeToCheck();
    if (!due) {
        KillTimer(window_, kAnswerCheckTimerId);
        return;
    }
    // A timer ticks at least every USER_TIMER_MINIMUM.
    SetTimer(window_, kAnswerCheckTimerId, static_cast<UINT>(std::clamp<std::uint64_t>(*due, 10, 60000)),
             nullptr);
}

}  // namespace tastolink
