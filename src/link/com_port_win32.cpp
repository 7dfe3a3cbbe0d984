#include "link/com_port_win32.h"

#include <cctype>

#include "shared/text_encoding.h"

namespace tastolink {
namespace {

// A read of the answering port waits for its first byte for as long as it takes (its reader's
// stop event cancels it), then ends at the first pause this long, so that it never waits to fill
// its buffer. (The "return at once with what is there" setting, MAXDWORD twice, is not honoured
// by Wine for overlapped reads.)
constexpr DWORD kReadPauseMs = 20;

bool IsNumberedComPort(const std::string& name) {
    if (name.size() < 4) return false;
    for (std::size_t i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return false;
    for (std::size_t i = 3; i < name.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

ComPortFailure FailureOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return {error, "нет такого порта"};
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return {error, "порт занят"};
        default:
            return {error, "ошибка " + std::to_string(error)};
    }
}

ComPortOpening Failed(ComPortFailure failure) { return {ComPort{}, std::move(failure)}; }

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

void PortHandleCloser::operator()(HANDLE handle) const {
    PurgeComm(handle, PURGE_TXABORT | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_RXCLEAR);
    CloseHandle(handle);
}

std::string DevicePathForPort(const std::string& portName) {
    return IsNumberedComPort(portName) ? "\\\\.\\" + portName : portName;
}

ComPortOpening OpenComPort(const std::string& portName, PortUse use) {
    const bool reads = use == PortUse::WriteAndRead;
    HANDLE handle = CreateFileW(WideFromUtf8(DevicePathForPort(portName)).c_str(),
                                reads ? GENERIC_READ | GENERIC_WRITE : GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, reads ? FILE_FLAG_OVERLAPPED : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Failed(FailureOf(GetLastError()));
    ComPort port;
    port.handle.reset(handle);
    // A file typed by mistake would be overwritten by command lines: only devices are ports.
    if (GetFileType(handle) != FILE_TYPE_CHAR) return Failed({0, "не устройство"});
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = reads ? kReadPauseMs : 0;
    timeouts.WriteTotalTimeoutConstant = kWriteBoundMs;
    if (!SetCommTimeouts(handle, &timeouts)) return Failed({GetLastError(), "не принимает тайм-ауты"});
    if (reads) {
        for (UniqueHandle* event : {&port.stop, &port.writeDone, &port.readDone}) {
            event->reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
            if (!*event) return Failed(FailureOf(GetLastError()));
        }
    }
    return {std::move(port), {}};
}

}  // namespace tastolink
