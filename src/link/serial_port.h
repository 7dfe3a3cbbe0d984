#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace tastolink {

// A line that has not gone out within this bound has failed: a stalled phone (flow control, a
// hung adapter, a phone that stopped reading) never holds the caller longer.
inline constexpr unsigned kWriteBoundMs = 1000;

// How a write of a line ended: written whole, failed (timed out, wrote only part, refused), or
// failed as a device that went away fails (unplugged, rebooting).
enum class WriteOutcome { Written, Failed, Lost };

// How one wait for the phone's words ended.
enum class ReadOutcome {
    Received,  // bytes were appended
    Dropped,   // the driver lost or damaged bytes here: the line they were in is no answer
    Stopped,   // StopReading was called
    Lost,      // the port failed under the reader: the device is gone
};

// Why a port did not open.
struct PortFailure {
    enum class Kind {
        Absent,      // no such port, or its device is not there
        Busy,        // another program holds it, or access is refused
        NotADevice,  // a file or something else that is no serial port (typed by mistake)
        Refused,     // it opened but refused the settings the program needs (time-outs, line mode)
        Other,
    };
    Kind kind = Kind::Other;
    int systemError = 0;   // the system's code (errno, GetLastError), 0 where there is none
    std::string holder{};  // Busy: who holds the port, where that is known (UTF-8)

    bool operator==(const PortFailure&) const = default;
};

// A serial port that is open for writing and reading; destroying it closes the port, throwing
// away what still waits to go out.
class SerialPort {
public:
    virtual ~SerialPort() = default;
    // One write of the whole line, ended within kWriteBoundMs.
    virtual WriteOutcome Write(std::string_view bytes) = 0;
    // Waits until the phone sends something, the port fails under it or StopReading is called, and
    // appends what came to `into`. One thread reads while another may write. A Read returns
    // Stopped once for each StopReading: at once if the stop came while no Read waited.
    virtual ReadOutcome Read(std::string& into) = 0;
    // From any thread: ends the Read that waits (or the next one) with Stopped.
    virtual void StopReading() = 0;
    // Throws away what the phone sent that nobody has read yet; called while no Read waits.
    virtual void DiscardReceived() = 0;
};

using PortOpening = std::variant<std::unique_ptr<SerialPort>, PortFailure>;

// Opens a serial port by the name the user gave (UTF-8): "COM7" on Windows, "/dev/ttyACM0" on Linux.
class SerialPortOpener {
public:
    virtual ~SerialPortOpener() = default;
    virtual PortOpening Open(const std::string& portName) = 0;
};

}  // namespace tastolink
