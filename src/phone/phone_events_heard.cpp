#include "phone/phone_events_heard.h"

#include <algorithm>

#include "phone/keypad_press.h"

namespace tastolink {
namespace {

// The keys of an AT+CKPD string as a phone reports them, one by one; an alpha entry is text, whose
// characters no phone reports as keys.
std::vector<std::string> KeysOf(std::string_view code) {
    std::vector<std::string> keys;
    for (std::size_t at = 0; at < code.size(); ++at) {
        if (code[at] == ';') {
            // To the semicolon that ends the entry: one doubled inside it is text.
            for (++at; at < code.size(); ++at) {
                if (code[at] != ';') continue;
                if (code.substr(at, 2) != ";;") break;
                ++at;
            }
            continue;
        }
        const std::size_t length = code[at] == ':' ? 2 : 1;
        keys.emplace_back(code.substr(at, length));
        at += length - 1;
    }
    return keys;
}

}  // namespace

void PhoneEventsHeard::Expect(CharacterSet set, bool programKeysReported) {
    set_ = set;
    programKeysReported_ = programKeysReported;
    if (!programKeysReported_) echoes_.clear();
}

void PhoneEventsHeard::Forget() {
    status_ = {};
    holds_ = {};
    echoes_.clear();
    echoesHeld_.clear();
}

void PhoneEventsHeard::Heard(const ConversationEvent& event) {
    if (const auto* written = std::get_if<heard::Written>(&event)) return ExpectEchoes(written->command.line);
    const auto* said = std::get_if<heard::PhoneSaid>(&event);
    if (!said) return;
    if (const auto phoneEvent = ParsePhoneEvent(said->line, set_)) Take(*phoneEvent);
}

void PhoneEventsHeard::ExpectEchoes(const std::string& commandLine) {
    if (!programKeysReported_) return;
    const auto press = PressOfCommand(commandLine, 0);
    if (!press) return;
    for (std::string& key : KeysOf(press->code)) {
        echoes_.push_back({std::move(key), clock_()});
        if (echoes_.size() > kMostEchoes) echoes_.pop_front();
    }
}

bool PhoneEventsHeard::IsEcho(const PhoneKeyEvent& key) {
    if (!key.pressed) {
        const auto held = std::ranges::find(echoesHeld_, key.key);
        if (held == echoesHeld_.end()) return false;
        echoesHeld_.erase(held);
        return true;
    }
    const auto now = clock_();
    while (!echoes_.empty() && now - echoes_.front().writtenAt > kEchoWait) echoes_.pop_front();
    const auto echo = std::ranges::find(echoes_, key.key, &Echo::key);
    if (echo == echoes_.end()) return false;
    echoes_.erase(echo);
    if (echoesHeld_.size() == PhoneKeyHolds::kMostHeld) echoesHeld_.erase(echoesHeld_.begin());
    echoesHeld_.push_back(key.key);
    return true;
}

void PhoneEventsHeard::Take(const PhoneEvent& event) {
    const auto* key = std::get_if<PhoneKeyEvent>(&event);
    if (key && IsEcho(*key)) return;
    status_.Take(event);
    if (!key) return;
    if (const auto press = holds_.Take(*key, clock_()))
        for (PhoneKeyListener* listener : std::vector(listeners_)) listener->PhoneKeyPressed(*press);
}

}  // namespace tastolink
