#pragma once

#include "link/conversation_texts.h"
#include "link/phone_session.h"

namespace tastolink {

// What the command line says of its conversation with the phone. A port that did not open, a line
// not written and a port gone are messages on the standard error that name the port, and the
// last two end the run. With the answers heard, each line's answer is a line of the standard
// output as it comes ("5 -> OK", "5 -> no answer", "5 -> OK, after 1.5 s"), and the keys' answers
// decide the exit code.
class RunReport : public ConversationListener {
public:
    RunReport(PhoneSession& session, bool answers);
    ~RunReport() override;
    RunReport(const RunReport&) = delete;
    RunReport& operator=(const RunReport&) = delete;

    void Heard(const ConversationEvent& event) override;
    // 1 when a key was answered otherwise than OK, or never; 0 without the answers.
    int AnswersExitCode() const;

private:
    PhoneSession& session_;
    bool answers_;
    ConversationTexts texts_{Language::English};
    long keysWaiting_ = 0;
    bool keyFailed_ = false;
};

}  // namespace tastolink
