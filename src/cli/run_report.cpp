#include "cli/run_report.h"

#include "cli/output.h"
#include "phone/keypad_press.h"
#include "recording/unattended_run.h"

namespace tastolink {
namespace {

constexpr Language kEnglish = Language::English;

bool IsKey(const PhoneCommand& command) { return PressOfCommand(command.line, 0).has_value(); }

}  // namespace

RunReport::RunReport(PhoneSession& session, bool answers) : session_(session), answers_(answers) {
    session_.Conversation().AddListener(*this);
}

RunReport::~RunReport() { session_.Conversation().RemoveListener(*this); }

void RunReport::Heard(const ConversationEvent& event) {
    texts_.Heard(event);
    if (const auto* notOpened = std::get_if<heard::NotOpened>(&event)) {
        PrintError(CannotChooseText(*notOpened, kEnglish) + ": " +
                   PortFailureText(notOpened->failure, kEnglish));
    } else if (const auto* notWritten = std::get_if<heard::NotWritten>(&event)) {
        PrintError(CannotSendText(*notWritten, kEnglish) + ": " +
                   NotWrittenReasonText(notWritten->why, kEnglish));
        session_.Stop();
    } else if (const auto* lost = std::get_if<heard::PortLost>(&event)) {
        PrintError(PortLostText(lost->port, kEnglish));
        session_.Stop();
    }
    if (!answers_) return;
    if (const auto* written = std::get_if<heard::Written>(&event)) {
        keysWaiting_ += IsKey(written->command);
    } else if (const auto* answered = std::get_if<heard::Answered>(&event)) {
        PrintLine(texts_.LastKey());
        if (!IsKey(answered->command)) return;
        --keysWaiting_;
        keyFailed_ |= answered->answer != "OK";
    } else if (std::holds_alternative<heard::Unanswered>(event)) {
        PrintLine(texts_.LastKey());
    } else if (const auto* gone = std::get_if<heard::AnswerGone>(&event); gone && IsKey(gone->command)) {
        --keysWaiting_;
        keyFailed_ = true;
    }
}

int RunReport::AnswersExitCode() const {
    return answers_ && (keyFailed_ || keysWaiting_ > 0) ? kSomethingNotWritten : kEverythingWritten;
}

}  // namespace tastolink
