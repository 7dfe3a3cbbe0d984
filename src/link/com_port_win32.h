#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "link/serial_port.h"

namespace tastolink {

enum class PortUse {
    Write,         // the plain port: each write waits for its end
    WriteAndRead,  // the answering port: overlapped, so that a waiting read never holds up a write
};

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// The port's own handle: what is still waiting to go out is thrown away before it is closed, as a
// driver may otherwise hold the close until a stalled phone takes those bytes.
struct PortHandleCloser {
    void operator()(HANDLE handle) const;
};

// A COM port as OpenComPort opens it. For WriteAndRead it also holds the events that its writes,
// its reads and the stop of its reader wait on. Everything it holds is closed with it.
struct ComPort {
    std::unique_ptr<void, PortHandleCloser> handle;
    UniqueHandle stop;
    UniqueHandle writeDone;
    UniqueHandle readDone;
};

// Why a port did not open, as the call that failed gave it: the system's error code (0 where the
// port opened but is refused, such as a file typed by mistake) and the reason for the status bar.
// The code tells a device that is not there (2, 3) from one that is refused or busy (5).
struct ComPortFailure {
    DWORD systemError = 0;
    std::string reason;
};

struct ComPortOpening {
    ComPort port;            // no handle when the port did not open
    ComPortFailure failure;  // why not
};

// How a write that the system refused ended: a device that went away (Wine gives ERROR_NOT_READY
// for a pseudo-terminal whose other end closed; Windows gives ERROR_ACCESS_DENIED,
// ERROR_BAD_COMMAND or ERROR_GEN_FAILURE for an unplugged adapter, ERROR_DEVICE_NOT_CONNECTED or
// ERROR_DEVICE_REMOVED for a USB device gone) is lost; anything else failed.
WriteOutcome OutcomeOfRefusedWrite(DWORD error);

// The one way both ports open a COM port by the name the user typed (UTF-8): its device path,
// CreateFileW, the check that it is a character device, the time-outs (a port that refuses them
// is refused: without them a stalled phone could hold a write for ever) and the events.
ComPortOpening OpenComPort(const std::string& portName, PortUse use);

// The path handed to CreateFileW: COM<n>, in any case, goes through the device namespace so that
// ports from COM10 up open too; everything else is used exactly as typed.
std::string DevicePathForPort(const std::string& portName);

}  // namespace tastolink
