#pragma once

#include <memory>
#include <string>

#include "link/serial_port.h"

namespace tastolink {

// Shows a failure of the channel to the user and returns when it has been dismissed.
class ChannelMessages {
public:
    virtual ~ChannelMessages() = default;
    virtual void ShowChannelFailure(const std::string& text) = 0;
};

// The program's one link to the phone: the chosen port and the line to send.
class SerialChannel {
public:
    SerialChannel(PortOpener& opener, ChannelMessages& messages);

    // Button3Click: opens the port the port selector names, closing the current one first.
    void OpenPort(const std::string& portName);
    // Writes PendingCommand to the current port.
    void SendCommand();
    // A keypad click action: stores the row's line and sends it.
    void Press(const std::string& command);

    const std::string& PendingCommand() const { return pendingCommand_; }

private:
    void ReportFailure(const std::string& text);

    PortOpener& opener_;
    ChannelMessages& messages_;
    std::unique_ptr<OpenedPort> port_;
    std::string portName_;
    std::string pendingCommand_;
    bool failureOnScreen_ = false;
};

inline constexpr std::string_view kCannotChoosePort = "Невозможно выбрать ";
inline constexpr std::string_view kCannotSendTo = "Невозможно отправить ";

}  // namespace tastolink
