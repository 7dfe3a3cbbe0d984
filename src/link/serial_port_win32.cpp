#include "link/serial_port_win32.h"

#include <algorithm>
#include <memory>

#include "link/port_names.h"
#include "shared/handles_win32.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

// A read waits for its first byte for as long as it takes (StopReading cancels it), then ends at
// the first pause this long, so that it never waits to fill its buffer. (The "return at once with
// what is there" setting, MAXDWORD twice, is not honoured by Wine for overlapped reads.)
constexpr DWORD kReadPauseMs = 20;
constexpr DWORD kReadChunk = 4096;

PortFailure FailureOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return {PortFailure::Kind::Absent, static_cast<int>(error)};
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return {PortFailure::Kind::Busy, static_cast<int>(error)};
        default:
            return {PortFailure::Kind::Other, static_cast<int>(error)};
    }
}

KernelHandle ManualResetEvent() { return KernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr)); }

// Whether an operation without an event of its own has ended within `ms`, looked at every
// millisecond: nothing else is its alone to wait on (the port's handle is signalled as any
// operation on the port ends, the reader's too). Only a write that the port holds up waits here.
bool Finishes(const OVERLAPPED& operation, DWORD ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    while (!HasOverlappedIoCompleted(&operation)) {
        const ULONGLONG now = GetTickCount64();
        if (ms != INFINITE && now >= until) return false;
        Sleep(1);
    }
    return true;
}

class Win32SerialPort : public SerialPort {
public:
    explicit Win32SerialPort(HANDLE handle) : handle_(handle) {}
    bool HasEvents() const { return stop_ && readDone_; }

    WriteOutcome Write(std::string_view bytes) override {
        HANDLE handle = handle_.Get();
        // No event: Wine then neither resets one before a write nor sets it after, two trips
        // through its server fewer for each line. A write that waits is watched by its status.
        OVERLAPPED overlapped{};
        DWORD written = 0;
        // Wine completes some writes at once and then leaves the count to the call, not to the OVERLAPPED.
        if (!WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING) return OutcomeOfRefusedWrite(GetLastError());
            // The port's own write time-out ends the write; this bound holds where a device ignores it.
            if (!Finishes(overlapped, 2 * kWriteBoundMs)) {
                CancelIoEx(handle, &overlapped);
                Finishes(overlapped, INFINITE);
            }
            if (!GetOverlappedResult(handle, &overlapped, &written, FALSE)) {
                const DWORD error = GetLastError();
                return error == ERROR_OPERATION_ABORTED ? WriteOutcome::Failed : OutcomeOfRefusedWrite(error);
            }
        }
        // A time-out reports success with a short count: that line did not go out.
        return written == bytes.size() ? WriteOutcome::Written : WriteOutcome::Failed;
    }

    ReadOutcome Read(std::string& into) override {
        HANDLE handle = handle_.Get();
        for (;;) {
            COMSTAT waiting{};
            DWORD errors = 0;
            if (!ClearCommError(handle, &errors, &waiting)) return ReadOutcome::Lost;
            // The driver lost bytes (its buffer overran) or damaged them: the line they were in is no answer.
            const bool dropped = (errors & (CE_RXOVER | CE_OVERRUN | CE_FRAME | CE_RXPARITY)) != 0;
            // As many bytes as wait in the port, or the first one to come: a read for more ends only
            // when its buffer is full or at a pause, which a phone that keeps talking never makes.
            const DWORD wanted = std::clamp<DWORD>(waiting.cbInQue, 1, kReadChunk);
            const std::size_t had = into.size();
            into.resize(had + wanted);
            OVERLAPPED overlapped{};
            overlapped.hEvent = readDone_.Get();
            DWORD received = 0;
            if (!ReadFile(handle, into.data() + had, wanted, nullptr, &overlapped) &&
                GetLastError() != ERROR_IO_PENDING) {
                into.resize(had);
                return ReadOutcome::Lost;
            }
            const HANDLE waits[] = {overlapped.hEvent, stop_.Get()};
            if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                CancelIoEx(handle, &overlapped);
                GetOverlappedResult(handle, &overlapped, &received, TRUE);
                into.resize(had);
                ResetEvent(stop_.Get());
                return ReadOutcome::Stopped;
            }
            // Wine ends the waiting read with ERROR_TIMEOUT when a write's time-out runs out (a
            // stalled phone): the port is still there. Any other failure means it is gone.
            if (!GetOverlappedResult(handle, &overlapped, &received, FALSE) &&
                GetLastError() != ERROR_TIMEOUT) {
                into.resize(had);
                return ReadOutcome::Lost;
            }
            into.resize(had + received);
            if (dropped) return ReadOutcome::Dropped;
            if (received > 0) return ReadOutcome::Received;
        }
    }

    void StopReading() override { SetEvent(stop_.Get()); }
    void DiscardReceived() override { PurgeComm(handle_.Get(), PURGE_RXCLEAR); }

private:
    PortHandle handle_;
    KernelHandle stop_ = ManualResetEvent();
    KernelHandle readDone_ = ManualResetEvent();
};

}  // namespace

WriteOutcome OutcomeOfRefusedWrite(DWORD error) {
    switch (error) {
        case ERROR_NOT_READY:
        case ERROR_ACCESS_DENIED:
        case ERROR_BAD_COMMAND:
        case ERROR_GEN_FAILURE:
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_DEVICE_REMOVED:
            return WriteOutcome::Lost;
    }
    return WriteOutcome::Failed;
}

std::string DevicePathForPort(const std::string& portName) {
    return ComPortNumber(portName) ? "\\\\.\\" + portName : portName;
}

// Opens the port by the name the user typed, checks that it is a character device and gives it
// its time-outs: a port that refuses them is refused, as without them a stalled phone could hold
// a write for ever.
PortOpening Win32SerialPortOpener::Open(const std::string& portName) {
    HANDLE handle =
        CreateFileW(WideFromUtf8(DevicePathForPort(portName)).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return FailureOf(GetLastError());
    auto port = std::make_unique<Win32SerialPort>(handle);
    // A file typed by mistake would be overwritten by command lines: only devices are ports.
    if (GetFileType(handle) != FILE_TYPE_CHAR) return PortFailure{PortFailure::Kind::NotADevice};
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadPauseMs;
    timeouts.WriteTotalTimeoutConstant = kWriteBoundMs;
    if (!SetCommTimeouts(handle, &timeouts))
        return PortFailure{PortFailure::Kind::Refused, static_cast<int>(GetLastError())};
    if (!port->HasEvents()) return FailureOf(GetLastError());
    return port;
}

}  // namespace tastolink
