#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "link/conversation_event.h"
#include "link/phone_session.h"
#include "phone/identification.h"

namespace tastolink {

// A phone that answered none of the identification commands.
struct PhoneSilent {
    std::string port;
};
// "Телефон на COM1 не отвечает", "The phone on /dev/ttyACM0 does not answer"
std::string SilentPhoneText(const PhoneSilent& silent, Language language);
using IdentityOrSilence = std::variant<PhoneIdentity, PhoneSilent>;
using PortIdentification = std::variant<PhoneIdentity, heard::NotOpened, PhoneSilent>;

// Asks the phone of the open `session` on `port` who it is and finds the first of `profiles` that
// matches it; nothing when the session was stopped meanwhile.
std::optional<IdentityOrSilence> AskWhoItIs(PhoneSession& session, const std::string& port,
                                            const std::vector<PhoneProfile>& profiles);

// Opens `port`, asks its phone who it is as AskWhoItIs does, or says why there is no answer.
PortIdentification IdentifyPhoneOnPort(SerialPortOpener& ports, const std::string& port,
                                       const std::vector<PhoneProfile>& profiles);

}  // namespace tastolink
