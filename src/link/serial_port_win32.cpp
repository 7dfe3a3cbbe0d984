#include "link/serial_port_win32.h"

#include <windows.h>

#include <cctype>

#include "shared/text_encoding.h"

namespace tastolink {
namespace {

// A stalled port (flow control, a hung adapter) must not block the window thread for ever.
constexpr DWORD kWriteTimeoutMs = 1000;

class Win32Port : public OpenedPort {
public:
    explicit Win32Port(HANDLE handle) : handle_(handle) {}
    ~Win32Port() override { CloseHandle(handle_); }
    Win32Port(const Win32Port&) = delete;
    Win32Port& operator=(const Win32Port&) = delete;

    bool Write(std::string_view bytes) override {
        DWORD written = 0;
        if (!WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            return false;
        // A time-out reports success with a short count: that line did not go out.
        return written == bytes.size();
    }

private:
    HANDLE handle_;
};

bool IsNumberedComPort(const std::string& name) {
    if (name.size() < 4) return false;
    for (std::size_t i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return false;
    for (std::size_t i = 3; i < name.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

}  // namespace

std::string DevicePathForPort(const std::string& ansiName) {
    return IsNumberedComPort(ansiName) ? "\\\\.\\" + ansiName : ansiName;
}

std::unique_ptr<OpenedPort> Win32PortOpener::Open(const std::string& portName) {
    const std::string path = DevicePathForPort(AnsiFromWide(WideFromUtf8(portName)));
    HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    // A file typed by mistake would be overwritten by command lines: only devices are ports.
    if (GetFileType(handle) != FILE_TYPE_CHAR) {
        CloseHandle(handle);
        return nullptr;
    }
    // Without a bound a stalled phone would freeze the window: a port that refuses one is refused.
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    if (!SetCommTimeouts(handle, &timeouts)) {
        CloseHandle(handle);
        return nullptr;
    }
    return std::make_unique<Win32Port>(handle);
}

}  // namespace tastolink
