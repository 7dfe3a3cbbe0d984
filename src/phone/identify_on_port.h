#pragma once

#include <string>
#include <variant>
#include <vector>

#include "link/conversation_event.h"
#include "phone/identification.h"

namespace tastolink {

// A phone that answered none of the identification commands.
struct PhoneSilent {
    std::string port;
};
// "Телефон на COM1 не отвечает", "the phone on /dev/ttyACM0 does not answer"
std::string SilentPhoneText(const PhoneSilent& silent, Language language);
using PortIdentification = std::variant<PhoneIdentity, heard::NotOpened, PhoneSilent>;

// For a front end without a window: opens `port`, asks its phone who it is on the caller's thread
// and finds the first of `profiles` that matches it; or says why there is no answer.
PortIdentification IdentifyPhoneOnPort(SerialPortOpener& ports, const std::string& port,
                                       const std::vector<PhoneProfile>& profiles);

}  // namespace tastolink
