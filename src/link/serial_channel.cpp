#include "link/serial_channel.h"

namespace tastolink {

SerialChannel::SerialChannel(PortOpener& opener, ShowFailure showFailure)
    : opener_(opener), showFailure_(std::move(showFailure)) {}

bool SerialChannel::OpenPort(const std::string& portName) {
    portName_ = portName;
    // Close the current port first: choosing the same port again must not find it busy.
    port_.reset();
    port_ = opener_.Open(portName_);
    if (port_) return true;
    ReportFailure(std::string(kCannotChoosePort) + portName_);
    return false;
}

bool SerialChannel::SendCommand() {
    if (port_ && port_->Write(pendingCommand_)) return true;
    ReportFailure(std::string(kCannotSendTo) + portName_);
    return false;
}

bool SerialChannel::Press(const std::string& command) {
    pendingCommand_ = command;
    return SendCommand();
}

void SerialChannel::ReportFailure(const std::string& text) {
    // Ticks keep running while the message is open; their failures must not stack boxes.
    if (failureOnScreen_) return;
    failureOnScreen_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{failureOnScreen_};
    showFailure_(text);
}

}  // namespace tastolink
