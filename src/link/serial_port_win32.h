#pragma once

#include "link/serial_port.h"

namespace tastolink {

// COM ports through the Windows file API.
class Win32PortOpener : public PortOpener {
public:
    std::unique_ptr<OpenedPort> Open(const std::string& portName) override;
};

// The name handed to CreateFileA: COM<n>, in any case, goes through the device namespace so that
// ports from COM10 up open too; everything else is used exactly as typed.
std::string DevicePathForPort(const std::string& ansiName);

}  // namespace tastolink
