#pragma once

#include <cstddef>
#include <functional>

#include "link/phone_conversation.h"
#include "phone/identification.h"

namespace tastolink {

// Asks the phone the identification commands one after the other, each once its last is answered
// or given up, and gathers its answers. It hears the phone for its own duration, even where
// nothing else does. `done` is told the answers once the last command is answered or given up,
// once one could not be sent, or once a phone that has answered nothing gives no answer to one;
// and whether the phone answered anything at all.
class IdentificationRun : public ConversationListener {
public:
    using Done = std::function<void(const IdentificationAnswers& answers, bool phoneAnswered)>;

    IdentificationRun(PhoneConversation& conversation, Done done);
    ~IdentificationRun() override;
    IdentificationRun(const IdentificationRun&) = delete;
    IdentificationRun& operator=(const IdentificationRun&) = delete;

    // Sends the first command.
    void Start();
    bool Finished() const { return asked_ >= answers_.size(); }
    void Heard(const ConversationEvent& event) override;

private:
    void AskNext();
    void Finish();

    PhoneConversation& conversation_;
    PhoneConversation::Hearing hearing_;
    Done done_;
    IdentificationAnswers answers_;
    std::size_t asked_ = 0;  // the command waiting for its answer
    bool phoneAnswered_ = false;
};

}  // namespace tastolink
