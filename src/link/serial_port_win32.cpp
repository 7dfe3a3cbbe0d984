#include "link/serial_port_win32.h"

#include <windows.h>

#include <cctype>

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

std::string ToAnsi(const std::string& utf8) {
    if (utf8.empty()) return {};
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(wideLength, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), wideLength);
    int ansiLength = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string ansi(ansiLength, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), ansiLength, nullptr, nullptr);
    return ansi;
}

bool IsNumberedComPort(const std::string& name) {
    if (name.size() < 4 || (name.compare(0, 3, "COM") != 0 && name.compare(0, 3, "com") != 0)) return false;
    for (std::size_t i = 3; i < name.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

}  // namespace

std::string DevicePathForPort(const std::string& ansiName) {
    return IsNumberedComPort(ansiName) ? "\\\\.\\" + ansiName : ansiName;
}

std::unique_ptr<OpenedPort> Win32PortOpener::Open(const std::string& portName) {
    const std::string path = DevicePathForPort(ToAnsi(portName));
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    // A file typed by mistake would be overwritten by command lines: only devices are ports.
    if (GetFileType(handle) != FILE_TYPE_CHAR) {
        CloseHandle(handle);
        return nullptr;
    }
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    SetCommTimeouts(handle, &timeouts);  // some devices refuse time-outs; they still work without
    return std::make_unique<Win32Port>(handle);
}

}  // namespace tastolink
