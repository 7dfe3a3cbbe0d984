#pragma once

#include <windows.h>

#include <string>

#include "link/serial_port.h"

namespace tastolink {

// COM ports, opened for reading and writing, overlapped, so that a read waiting on the reader's
// thread never holds up a write (Windows serialises the I/O of a port opened otherwise).
class Win32SerialPortOpener : public SerialPortOpener {
public:
    PortOpening Open(const std::string& portName) override;
};

// How a write that the system refused ended: a device that went away (Wine gives ERROR_NOT_READY
// for a pseudo-terminal whose other end closed; Windows gives ERROR_ACCESS_DENIED,
// ERROR_BAD_COMMAND or ERROR_GEN_FAILURE for an unplugged adapter, ERROR_DEVICE_NOT_CONNECTED or
// ERROR_DEVICE_REMOVED for a USB device gone) is lost; anything else failed.
WriteOutcome OutcomeOfRefusedWrite(DWORD error);

// The path handed to CreateFileW: COM<n>, in any case, goes through the device namespace so that
// ports from COM10 up open too; everything else is used exactly as typed.
std::string DevicePathForPort(const std::string& portName);

}  // namespace tastolink
