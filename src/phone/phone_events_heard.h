#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/conversation_event.h"
#include "phone/character_set.h"
#include "phone/phone_event_status.h"

namespace tastolink {

// Who takes the keys pressed on the phone itself, each whole once it is let go: a recording.
class PhoneKeyListener {
public:
    virtual ~PhoneKeyListener() = default;
    virtual void PhoneKeyPressed(const PhoneKeyPress& press) = 0;
};

// The phone's own event lines among what the conversation tells: the status they make (the last key
// pressed on the phone, the battery, the signal, the display) and the presses of the phone's keys,
// told to the listeners.
//
// A phone that reports the keys pressed through AT+CKPD too (<keyp> 2) tells the program's keys as
// if pressed on it. Each key the program writes then waits for its report, a few seconds at most:
// the next press reported of that key is the program's own, and so is its release. Neither shows
// nor is recorded, so that a recording holds each key once.
class PhoneEventsHeard : public ConversationListener {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::seconds kEchoWait{3};
    static constexpr std::size_t kMostEchoes = 64;

    explicit PhoneEventsHeard(Clock clock = std::chrono::steady_clock::now) : clock_(std::move(clock)) {}

    void Heard(const ConversationEvent& event) override;
    // How the phone writes its texts, and whether it reports the program's keys too.
    void Expect(CharacterSet set, bool programKeysReported);
    // Another phone, or the same one started anew: nothing heard before counts.
    void Forget();
    const PhoneEventStatus& Status() const { return status_; }

    void AddListener(PhoneKeyListener& listener) { listeners_.push_back(&listener); }
    void RemoveListener(PhoneKeyListener& listener) { std::erase(listeners_, &listener); }

private:
    struct Echo {
        std::string key;
        std::chrono::steady_clock::time_point writtenAt;
    };
    void ExpectEchoes(const std::string& commandLine);
    // Whether a key report is the program's own key, told back.
    bool IsEcho(const PhoneKeyEvent& key);
    void Take(const PhoneEvent& event);

    Clock clock_;
    CharacterSet set_ = CharacterSet::Gsm;
    bool programKeysReported_ = false;
    PhoneEventStatus status_;
    PhoneKeyHolds holds_;
    std::deque<Echo> echoes_;              // the program's keys not reported yet, oldest first
    std::vector<std::string> echoesHeld_;  // the program's keys reported down, not yet up
    std::vector<PhoneKeyListener*> listeners_;
};

}  // namespace tastolink
