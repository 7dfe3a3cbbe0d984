#pragma once

#include "link/serial_port.h"

namespace tastolink {

// COM ports opened for writing only, as the program always has them with the phone's answers off.
class Win32PortOpener : public PortOpener {
public:
    std::unique_ptr<OpenedPort> Open(const std::string& portName) override;
};

}  // namespace tastolink
