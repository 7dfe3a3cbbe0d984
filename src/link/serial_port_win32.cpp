#include "link/serial_port_win32.h"

#include "link/com_port_win32.h"

namespace tastolink {
namespace {

class Win32Port : public OpenedPort {
public:
    explicit Win32Port(ComPort port) : port_(std::move(port)) {}

    WriteOutcome Write(std::string_view bytes) override {
        DWORD written = 0;
        if (!WriteFile(port_.handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            return OutcomeOfRefusedWrite(GetLastError());
        // A time-out reports success with a short count: that line did not go out.
        return written == bytes.size() ? WriteOutcome::Written : WriteOutcome::Failed;
    }

private:
    ComPort port_;
};

}  // namespace

std::unique_ptr<OpenedPort> Win32PortOpener::Open(const std::string& portName) {
    ComPortOpening opening = OpenComPort(portName, PortUse::Write);
    if (!opening.port.handle) return nullptr;
    return std::make_unique<Win32Port>(std::move(opening.port));
}

}  // namespace tastolink
