#include "phone/identify_on_port.h"

#include <optional>

#include "link/conversation_pump.h"
#include "phone/identification_run.h"

namespace tastolink {

std::string SilentPhoneText(const PhoneSilent& silent, Language language) {
    return Worded({"Телефон на {} не отвечает", "the phone on {} does not answer"}, language, {silent.port});
}

PortIdentification IdentifyPhoneOnPort(SerialPortOpener& ports, const std::string& port,
                                       const std::vector<PhoneProfile>& profiles) {
    ConversationPump pump(ports);
    struct : ConversationListener {
        void Heard(const ConversationEvent& event) override {
            if (const auto* refused = std::get_if<heard::NotOpened>(&event)) notOpened = *refused;
        }
        std::optional<heard::NotOpened> notOpened;
    } opening;
    pump.Phone().AddListener(opening);
    const bool opened = pump.Phone().Open(port);
    pump.Phone().RemoveListener(opening);
    if (!opened) return *opening.notOpened;

    std::optional<PortIdentification> outcome;
    IdentificationRun run(pump.Phone(), [&](const IdentificationAnswers& answers, bool phoneAnswered) {
        outcome = phoneAnswered ? PortIdentification(Identify(answers, profiles)) : PhoneSilent{port};
    });
    run.Start();
    pump.RunUntil([&] { return outcome.has_value(); });
    return *outcome;
}

}  // namespace tastolink
