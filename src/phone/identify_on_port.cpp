#include "phone/identify_on_port.h"

#include "phone/identification_run.h"

namespace tastolink {

std::string SilentPhoneText(const PhoneSilent& silent, Language language) {
    return Worded(kPhoneSilent, language, {silent.port});
}

std::optional<IdentityOrSilence> AskWhoItIs(PhoneSession& session, const std::string& port,
                                            const std::vector<PhoneProfile>& profiles) {
    std::optional<IdentityOrSilence> answer;
    IdentificationRun run(
        session.Conversation(), [&](const IdentificationAnswers& answers, bool phoneAnswered) {
            answer = phoneAnswered ? IdentityOrSilence(Identify(answers, profiles)) : PhoneSilent{port};
        });
    run.Start();
    if (!session.WaitFor([&answer] { return answer.has_value(); })) return std::nullopt;
    return answer;
}

PortIdentification IdentifyPhoneOnPort(SerialPortOpener& ports, const std::string& port,
                                       const std::vector<PhoneProfile>& profiles) {
    PhoneSession session(ports);
    struct : ConversationListener {
        void Heard(const ConversationEvent& event) override {
            if (const auto* refused = std::get_if<heard::NotOpened>(&event)) notOpened = *refused;
        }
        std::optional<heard::NotOpened> notOpened;
    } opening;
    session.Conversation().AddListener(opening);
    const bool opened = session.Conversation().Open(port);
    session.Conversation().RemoveListener(opening);
    if (!opened) return *opening.notOpened;
    // Nothing stops this session: it waits until the phone has answered or stayed silent.
    return std::visit([](auto&& answer) { return PortIdentification(answer); },
                      *AskWhoItIs(session, port, profiles));
}

}  // namespace tastolink
