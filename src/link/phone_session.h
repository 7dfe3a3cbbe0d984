#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

#include "link/phone_conversation.h"

namespace tastolink {

// The phone conversation of a front end without a window (the command line, an identification
// from Tastolink.exe): one thread, which waits for what it needs meanwhile. The reader's wake-up
// and a stop (a signal, a port gone) only notify; everything the conversation does happens on
// that thread, while it waits.
class PhoneSession {
public:
    explicit PhoneSession(SerialPortOpener& opener);

    PhoneConversation& Conversation() { return conversation_; }
    using Clock = std::chrono::steady_clock;

    // Hands on the phone's news and the answers overdue until `due`. False when the run was
    // stopped meanwhile.
    bool WaitUntil(Clock::time_point due) { return Wait(due, nullptr); }
    // The same until `done` is true.
    bool WaitFor(const std::function<bool()>& done) { return Wait(std::nullopt, done); }
    // From any thread: ends every wait, now and after.
    void Stop();
    bool Stopped();

private:
    bool Wait(std::optional<Clock::time_point> due, const std::function<bool()>& done);

    std::mutex mutex_;
    std::condition_variable changed_;
    bool news_ = false;
    bool stopped_ = false;
    PhoneConversation conversation_;  // last: its reader wakes the others up until it is gone
};

}  // namespace tastolink
