#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/phone_conversation.h"
#include "phone/phone_events.h"

namespace tastolink {

// Switches the phone's own reports on, on a port just opened: the profile's AT+CMER line first and,
// where the phone refuses a line, the narrower forms one after the other, each once the last is
// answered; then, where the phone reports its indicators, it asks their names and values. A phone
// that answers a line not at all is asked no more. `changed` is told each step.
class EventReporting : public ConversationListener {
public:
    enum class State { Asking, Reporting, Unsupported, Unanswered };

    EventReporting(PhoneConversation& conversation, std::string profileLine, std::function<void()> changed);
    ~EventReporting() override;
    EventReporting(const EventReporting&) = delete;
    EventReporting& operator=(const EventReporting&) = delete;

    // Sends the profile's line.
    void Start();
    void Heard(const ConversationEvent& event) override;

    State Now() const { return state_; }
    // What the phone reports once it took a line.
    std::optional<EventReportForm> Taken() const;
    // What the status line says of it: "События: клавиши и индикаторы", "События: не поддерживаются".
    std::string Text() const;

private:
    void Ask();
    void Settle(State state);

    PhoneConversation& conversation_;
    std::vector<std::string> lines_;  // the profile's, then the narrower forms
    std::size_t asked_ = 0;
    State state_ = State::Asking;
    std::function<void()> changed_;
};

}  // namespace tastolink
