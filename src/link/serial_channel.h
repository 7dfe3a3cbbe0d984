#pragma once

#include <functional>
#include <memory>
#include <string>

#include "link/serial_port.h"

namespace tastolink {

// The program's one link to the phone: the chosen port and the line to send.
class SerialChannel {
public:
    // Shows a failure of the channel to the user and returns when it has been dismissed.
    using ShowFailure = std::function<void(const std::string& text)>;

    SerialChannel(PortOpener& opener, ShowFailure showFailure);

    // Button3Click: opens the port the port selector names, closing the current one first.
    // False when it did not open (and the failure was reported).
    bool OpenPort(const std::string& portName);
    // Writes PendingCommand to the current port. False when it was not written (and reported).
    bool SendCommand();
    // A keypad click action: stores the row's line and sends it; whether it was written.
    bool Press(const std::string& command);

private:
    void ReportFailure(const std::string& text);

    PortOpener& opener_;
    ShowFailure showFailure_;
    std::unique_ptr<OpenedPort> port_;
    std::string portName_;
    std::string pendingCommand_;
    bool failureOnScreen_ = false;
};

inline constexpr std::string_view kCannotChoosePort = "Невозможно выбрать ";
inline constexpr std::string_view kCannotSendTo = "Невозможно отправить ";

}  // namespace tastolink
