#include "app/identify_command.h"

#include "app/features/phone_profiles.h"
#include "app/window/message_boxes.h"
#include "link/conversation_texts.h"
#include "link/serial_port_win32.h"
#include "phone/identify_on_port.h"
#include "settings/settings_files_win32.h"

namespace tastolink {

int IdentifyOnConsole(const IdentifyCommand& command) {
    Win32SettingsFiles files;
    PhoneProfiles profiles(files, [](const PhoneProfile&) {});
    if (const auto problems = profiles.Load()) WriteToStandardError(*problems);
    Win32SerialPortOpener ports;
    const PortIdentification found = IdentifyPhoneOnPort(ports, command.port, profiles.All());
    if (const auto* notOpened = std::get_if<heard::NotOpened>(&found)) {
        WriteToStandardError(CannotChooseText(*notOpened) + ": " + PortFailureText(notOpened->failure));
        return kSomethingNotWritten;
    }
    if (const auto* silent = std::get_if<PhoneSilent>(&found)) {
        WriteToStandardError(SilentPhoneText(*silent, Language::Russian));
        return kSomethingNotWritten;
    }
    for (const auto& [key, value] : IdentityFacts(std::get<PhoneIdentity>(found), Language::English))
        WriteToStandardOutput(key + ": " + value);
    return kEverythingWritten;
}

}  // namespace tastolink
