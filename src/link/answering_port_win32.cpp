#include "link/answering_port_win32.h"

#include <algorithm>
#include <thread>

#include "link/com_port_win32.h"

namespace tastolink {
namespace {

constexpr DWORD kReadPaceMs = 10;

class AnsweringPort : public OpenedPort {
public:
    AnsweringPort(ComPort port, std::string name, std::shared_ptr<PortEventInbox> inbox)
        : port_(std::move(port)), name_(std::move(name)), inbox_(std::move(inbox)) {
        reader_ = std::thread([this] { ReadUntilStopped(); });
    }

    // Stops the reader (cancelling its pending read) and waits for it; the port closes after.
    ~AnsweringPort() override {
        SetEvent(port_.stop.get());
        reader_.join();
    }
    AnsweringPort(const AnsweringPort&) = delete;
    AnsweringPort& operator=(const AnsweringPort&) = delete;

    WriteOutcome Write(std::string_view bytes) override {
        HANDLE handle = port_.handle.get();
        OVERLAPPED overlapped{};
        overlapped.hEvent = port_.writeDone.get();
        DWORD written = 0;
        // Wine completes some writes at once and then leaves the count to the call, not to the OVERLAPPED.
        if (!WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING) return OutcomeOfRefusedWrite(GetLastError());
            // The port's own write time-out ends the write; this bound holds where a device ignores it.
            if (WaitForSingleObject(overlapped.hEvent, 2 * kWriteBoundMs) != WAIT_OBJECT_0)
                CancelIoEx(handle, &overlapped);
            if (!GetOverlappedResult(handle, &overlapped, &written, TRUE)) {
                const DWORD error = GetLastError();
                return error == ERROR_OPERATION_ABORTED ? WriteOutcome::Failed : OutcomeOfRefusedWrite(error);
            }
        }
        if (written != bytes.size()) return WriteOutcome::Failed;
        inbox_->Push({PortEvent::Kind::Written, std::string(bytes)});
        return WriteOutcome::Written;
    }

private:
    void ReadUntilStopped() {
        HANDLE handle = port_.handle.get();
        std::string buffer(4096, '\0');
        for (;;) {
            OVERLAPPED overlapped{};
            overlapped.hEvent = port_.readDone.get();
            DWORD received = 0;
            // As many bytes as wait in the port, or the first one to come: a read for more ends
            // only when its buffer is full or at a pause, which a phone that keeps talking never makes.
            COMSTAT waiting{};
            DWORD errors = 0;
            if (!ClearCommError(handle, &errors, &waiting)) break;
            // The driver lost bytes (its buffer overran) or damaged them: the line they were in is no answer.
            if (errors & (CE_RXOVER | CE_OVERRUN | CE_FRAME | CE_RXPARITY))
                inbox_->Push({PortEvent::Kind::Dropped, {}});
            const DWORD wanted = std::clamp<DWORD>(waiting.cbInQue, 1, static_cast<DWORD>(buffer.size()));
            if (!ReadFile(handle, buffer.data(), wanted, nullptr, &overlapped) &&
                GetLastError() != ERROR_IO_PENDING)
                break;
            const HANDLE waits[] = {overlapped.hEvent, port_.stop.get()};
            if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                CancelIoEx(handle, &overlapped);
                GetOverlappedResult(handle, &overlapped, &received, TRUE);
                return;
            }
            // Wine ends the waiting read with ERROR_TIMEOUT when a write's time-out runs out (a
            // stalled phone): the port is still there. Any other failure means it is gone.
            if (!GetOverlappedResult(handle, &overlapped, &received, FALSE) &&
                GetLastError() != ERROR_TIMEOUT)
                break;
            if (received == 0) continue;
            inbox_->Push({PortEvent::Kind::Received, buffer.substr(0, received)});
            // A phone that keeps sending is read at most once a pace, whatever came meanwhile at
            // once: a flood costs the reader and the window a hundred rounds a second, not one a chunk.
            if (WaitForSingleObject(port_.stop.get(), kReadPaceMs) == WAIT_OBJECT_0) return;
        }
        // The port failed under the reader: the device is gone. The handle stays open until the
        // channel lets the port go, so a write meanwhile fails and shows its box as before.
        inbox_->Push({PortEvent::Kind::Lost, name_});
    }

    ComPort port_;
    std::string name_;
    std::shared_ptr<PortEventInbox> inbox_;
    std::thread reader_;
};

}  // namespace

std::unique_ptr<OpenedPort> AnsweringPortOpener::Open(const std::string& portName) {
    ComPortOpening opening = OpenComPort(portName, PortUse::WriteAndRead);
    if (!opening.port.handle) {
        inbox_->Push({PortEvent::Kind::FailedOpen, portName, opening.failure.reason});
        return nullptr;
    }
    inbox_->Push({PortEvent::Kind::Opened, portName});
    return std::make_unique<AnsweringPort>(std::move(opening.port), portName, inbox_);
}

}  // namespace tastolink
