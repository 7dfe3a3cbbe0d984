#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>

#include "link/conversation_texts.h"
#include "link/phone_conversation.h"

namespace tastolink {

// The phone conversation on the window's thread: the reader's news arrives as a message to the
// window, and the answers that are overdue as its timer. The status line's texts follow the
// conversation from its first word.
class WindowConversation : private ConversationListener {
public:
    explicit WindowConversation(SerialPortOpener& ports);
    ~WindowConversation() override;
    WindowConversation(const WindowConversation&) = delete;
    WindowConversation& operator=(const WindowConversation&) = delete;

    // Once the window exists: the news and the timer go to it.
    void Attach(HWND window) { window_ = window; }
    PhoneConversation& Phone() { return conversation_; }
    const ConversationTexts& Texts() const { return texts_; }

    // kPhoneNewsMessage and kAnswerCheckTimerId.
    void OnNews();
    void OnCheckTimer();

private:
    void Heard(const ConversationEvent& event) override;
    // The timer runs until the next line that may be overdue.
    void FollowCheckTime();

    std::atomic<HWND> window_ = nullptr;  // read by the reader's thread when it has news
    PhoneConversation conversation_;
    ConversationTexts texts_;
    std::optional<std::uint64_t> timerAt_;  // when the timer falls due, on the steady clock
};

}  // namespace tastolink
