#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tastolink {

// A port that is open for writing; destroying it closes the port.
class OpenedPort {
public:
    virtual ~OpenedPort() = default;
    // One write of the whole line. False when the write failed, timed out or wrote only part.
    virtual bool Write(std::string_view bytes) = 0;
};

// Opens a COM port by the name the user typed (UTF-8).
class PortOpener {
public:
    virtual ~PortOpener() = default;
    // Nothing when the port can't be opened or is not a serial device.
    virtual std::unique_ptr<OpenedPort> Open(const std::string& portName) = 0;
};

}  // namespace tastolink
