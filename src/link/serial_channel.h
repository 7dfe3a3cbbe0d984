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

    // While the ports are watched, a port that goes away is waited for, not reported: the keys
    // pressed meanwhile are counted as not sent, and the same name opens again once it is back.
    // Turned off, or at a new choice of port, the waiting stops.
    void SetWatching(bool watching);
    // The port went away under the channel: its reader found the device gone.
    void PortLost();
    // The system says a device of this port name left: the port went away if it is the channel's.
    void DeviceLeft(std::string_view portName);
    bool Waiting() const { return waiting_; }
    // One try to open the port waited for; true when it is back.
    bool RetryWaiting();
    // What the status bar says of a port waited for, or back; empty otherwise.
    const std::string& WatchText() const { return watchText_; }

private:
    void ReportFailure(const std::string& text);

    PortOpener& opener_;
    ShowFailure showFailure_;
    std::unique_ptr<OpenedPort> port_;
    std::string portName_;
    std::string pendingCommand_;
    bool failureOnScreen_ = false;
    bool watching_ = false;
    bool waiting_ = false;
    long notSent_ = 0;  // keys pressed while the port was waited for
    std::string watchText_;
};

inline constexpr std::string_view kCannotChoosePort = "Невозможно выбрать ";
inline constexpr std::string_view kCannotSendTo = "Невозможно отправить ";

}  // namespace tastolink
