#include "link/answering_port_win32.h"

#include <windows.h>

#include <thread>

#include "link/serial_port_win32.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

// A stalled port must not block the window thread for ever (as for the write-only port).
constexpr DWORD kWriteTimeoutMs = 1000;
// A read waits for its first byte for as long as it takes (the reader's stop event cancels
// it), then ends at the first pause this long, so that it never waits to fill its buffer.
// (The "return at once with what is there" setting, MAXDWORD twice, is not honoured by Wine
// for overlapped reads.)
constexpr DWORD kReadPauseMs = 20;

std::wstring WidePath(const std::string& utf8) {
    return WideFromUtf8(DevicePathForPort(utf8));  // only ASCII "COM<n>" gets the prefix
}

class AnsweringPort : public OpenedPort {
public:
    AnsweringPort(HANDLE handle, std::string name, std::shared_ptr<PortEventInbox> inbox)
        : handle_(handle), name_(std::move(name)), inbox_(std::move(inbox)) {
        reader_ = std::thread([this] { ReadUntilStopped(); });
    }

    // Stops the reader (cancelling its pending read), waits for it, then closes the port.
    ~AnsweringPort() override {
        SetEvent(stop_);
        reader_.join();
        CloseHandle(handle_);
        CloseHandle(stop_);
        CloseHandle(writeDone_);
    }
    AnsweringPort(const AnsweringPort&) = delete;
    AnsweringPort& operator=(const AnsweringPort&) = delete;

    bool Write(std::string_view bytes) override {
        OVERLAPPED overlapped{};
        overlapped.hEvent = writeDone_;
        DWORD written = 0;
        // Wine completes some writes at once and then leaves the count to the call, not to the OVERLAPPED.
        if (!WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING) return false;
            // The port's own write time-out ends the write; this bound holds where a device refuses it.
            if (WaitForSingleObject(writeDone_, 2 * kWriteTimeoutMs) != WAIT_OBJECT_0)
                CancelIoEx(handle_, &overlapped);
            if (!GetOverlappedResult(handle_, &overlapped, &written, TRUE)) return false;
        }
        if (written != bytes.size()) return false;
        inbox_->Push({PortEvent::Kind::Written, std::string(bytes)});
        return true;
    }

private:
    void ReadUntilStopped() {
        HANDLE readDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        char buffer[512];
        for (;;) {
            OVERLAPPED overlapped{};
            overlapped.hEvent = readDone;
            DWORD received = 0;
            if (!ReadFile(handle_, buffer, sizeof buffer, nullptr, &overlapped) &&
                GetLastError() != ERROR_IO_PENDING)
                break;
            const HANDLE waits[] = {readDone, stop_};
            if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                CancelIoEx(handle_, &overlapped);
                GetOverlappedResult(handle_, &overlapped, &received, TRUE);
                CloseHandle(readDone);
                return;
            }
            if (!GetOverlappedResult(handle_, &overlapped, &received, FALSE)) break;
            if (received > 0) inbox_->Push({PortEvent::Kind::Received, std::string(buffer, received)});
        }
        // The port failed under the reader: the device is gone. The handle stays open until the
        // channel lets the port go, so a write meanwhile fails and shows its box as before.
        CloseHandle(readDone);
        inbox_->Push({PortEvent::Kind::Lost, name_});
    }

    HANDLE handle_;
    std::string name_;
    std::shared_ptr<PortEventInbox> inbox_;
    HANDLE stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE writeDone_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread reader_;
};

}  // namespace

std::unique_ptr<OpenedPort> AnsweringPortOpener::Open(const std::string& portName) {
    HANDLE handle = CreateFileW(WidePath(portName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_CHAR) {
        CloseHandle(handle);  // a file typed by mistake is not a port
        handle = INVALID_HANDLE_VALUE;
    }
    if (handle == INVALID_HANDLE_VALUE) {
        inbox_->Push({PortEvent::Kind::FailedOpen, portName});
        return nullptr;
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadPauseMs;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    SetCommTimeouts(handle, &timeouts);
    inbox_->Push({PortEvent::Kind::Opened, portName});
    return std::make_unique<AnsweringPort>(handle, portName, inbox_);
}

}  // namespace tastolink
