#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tastolink {

// How a write of a line ended: written whole, failed (timed out, wrote only part, refused), or
// failed as a device that went away fails (unplugged, rebooting).
enum class WriteOutcome { Written, Failed, Lost };

// A port that is open for writing; destroying it closes the port.
class OpenedPort {
public:
    virtual ~OpenedPort() = default;
    // One write of the whole line.
    virtual WriteOutcome Write(std::string_view bytes) = 0;
};

// Opens a COM port by the name the user typed (UTF-8).
class PortOpener {
public:
    virtual ~PortOpener() = default;
    // Nothing when the port can't be opened or is not a serial device.
    virtual std::unique_ptr<OpenedPort> Open(const std::string& portName) = 0;
};

}  // namespace tastolink
