#include "link/serial_channel.h"

#include <cctype>

namespace tastolink {

SerialChannel::SerialChannel(PortOpener& opener, ShowFailure showFailure)
    : opener_(opener), showFailure_(std::move(showFailure)) {}

bool SerialChannel::OpenPort(const std::string& portName) {
    portName_ = portName;
    waiting_ = false;
    watchText_.clear();
    // Close the current port first: choosing the same port again must not find it busy.
    port_.reset();
    port_ = opener_.Open(portName_);
    if (port_) return true;
    ReportFailure(std::string(kCannotChoosePort) + portName_);
    return false;
}

bool SerialChannel::SendCommand() {
    const WriteOutcome outcome = port_ ? port_->Write(pendingCommand_) : WriteOutcome::Failed;
    if (outcome == WriteOutcome::Written) return true;
    if (outcome == WriteOutcome::Lost) PortLost();
    if (waiting_) {
        ++notSent_;
        watchText_ = portName_ + " пропал — жду; не отправлено: " + std::to_string(notSent_);
        return false;
    }
    ReportFailure(std::string(kCannotSendTo) + portName_);
    return false;
}

void SerialChannel::SetWatching(bool watching) {
    watching_ = watching;
    if (watching_) return;
    waiting_ = false;
    watchText_.clear();
}

void SerialChannel::PortLost() {
    if (!watching_ || !port_) return;
    port_.reset();
    waiting_ = true;
    notSent_ = 0;
    watchText_ = portName_ + " пропал — жду";
}

void SerialChannel::DeviceLeft(std::string_view portName) {
    const auto upper = [](std::string_view text) {
        std::string upper(text);
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return upper;
    };
    if (upper(portName) == upper(portName_)) PortLost();
}

bool SerialChannel::RetryWaiting() {
    if (!waiting_) return false;
    port_ = opener_.Open(portName_);
    if (!port_) return false;
    waiting_ = false;
    watchText_ = portName_ + " снова на связи";
    return true;
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
