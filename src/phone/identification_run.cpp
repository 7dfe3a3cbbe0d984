#include "phone/identification_run.h"

#include <utility>

namespace tastolink {
namespace {

FinalResult ResultOf(const std::string& answer) {
    if (answer == "OK") return FinalResult::Ok;
    if (answer.starts_with("+CME ERROR")) return FinalResult::CmeError;
    return FinalResult::Error;
}

PhoneCommand Query(std::size_t index) { return PhoneCommand::OfLine(kIdentificationCommands[index]); }

}  // namespace

IdentificationRun::IdentificationRun(PhoneConversation& conversation, Done done)
    : conversation_(conversation), hearing_(conversation), done_(std::move(done)) {
    conversation_.AddListener(*this);
}

IdentificationRun::~IdentificationRun() { conversation_.RemoveListener(*this); }

void IdentificationRun::Start() { AskNext(); }

void IdentificationRun::AskNext() {
    if (!Finished() && conversation_.Send(Query(asked_))) return;
    // A line that could not be sent says the next can't be either: one failure, not one for each.
    asked_ = answers_.size();
    Finish();
}

void IdentificationRun::Heard(const ConversationEvent& event) {
    if (Finished()) return;
    const PhoneCommand waiting = Query(asked_);
    if (const auto* answered = std::get_if<heard::Answered>(&event);
        answered && answered->command == waiting) {
        answers_[asked_] = {answered->information, ResultOf(answered->answer)};
        phoneAnswered_ = true;
    } else if (const auto* gone = std::get_if<heard::AnswerGone>(&event); !gone || gone->command != waiting) {
        return;  // a late answer is still its own: it is waited for until it is given up
    } else if (!phoneAnswered_) {
        asked_ = answers_.size();  // a phone that answers nothing is asked no more
        return Finish();
    }
    ++asked_;
    AskNext();
}

void IdentificationRun::Finish() {
    hearing_ = PhoneConversation::Hearing();
    // The last thing it does: `done` may end the run.
    if (done_) std::exchange(done_, nullptr)(answers_, phoneAnswered_);
}

}  // namespace tastolink
