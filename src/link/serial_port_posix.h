#pragma once

#include <string>

#include "link/port_lock_posix.h"
#include "link/serial_port.h"

namespace tastolink {

// Whether a line can be set to `baud` (1200 to 4000000, the rates termios names).
bool IsSerialSpeed(unsigned baud);

// Opens a serial device of Linux ("/dev/ttyACM0", a /dev/serial/by-id link, a pseudo-terminal) as
// a raw 8N1 line without flow control, held for this process alone (see PortLock). A baud rate
// that the line can't be set to is Refused; a USB modem port or a pseudo-terminal takes any and
// ignores it.
class PosixSerialPortOpener : public SerialPortOpener {
public:
    explicit PosixSerialPortOpener(unsigned baud = 115200, std::string lockFolder = kLockFolder)
        : baud_(baud), lockFolder_(std::move(lockFolder)) {}
    PortOpening Open(const std::string& portName) override;

private:
    unsigned baud_;
    std::string lockFolder_;
};

}  // namespace tastolink
