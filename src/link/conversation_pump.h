#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

#include "link/phone_conversation.h"

namespace tastolink {

// The phone conversation of a front end without a window: the caller's thread itself waits for the
// reader's news and for the answers that fall due, until what it waits for has happened.
class ConversationPump {
public:
    explicit ConversationPump(SerialPortOpener& opener);
    PhoneConversation& Phone() { return conversation_; }

    // Takes the news and checks the time until `done` holds. Something must wait for the phone
    // meanwhile (a line its answer, or a hearing the phone's words) for `done` to come about.
    void RunUntil(const std::function<bool()>& done);

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool news_ = false;
    PhoneConversation conversation_;  // last: it goes first, and its reader with it
};

}  // namespace tastolink
