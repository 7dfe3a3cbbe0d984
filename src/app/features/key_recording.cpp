#include "app/features/key_recording.h"

#include <chrono>
#include <utility>

#include "settings/settings_error.h"
#include "shared/text_encoding.h"

namespace tastolink {

std::string SystemReason(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text =
        length ? Utf8FromWide(std::wstring_view(buffer, length)) : "ошибка " + std::to_string(error);
    LocalFree(buffer);
    return TrimSystemErrorText(text);
}

bool KeyRecording::Start(const std::wstring& path, std::string& reason) {
    Stop();
    file_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        reason = SystemReason(GetLastError());
        return false;
    }
    path_ = path;
    recorder_ = Recorder();
    return true;
}

void KeyRecording::Stop() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(file_, INVALID_HANDLE_VALUE));
}

bool KeyRecording::Written(std::string_view command, std::string& reason) {
    if (!IsRecording()) return true;
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    const auto line = recorder_.LineFor(command, static_cast<std::uint64_t>(now.count()));
    if (!line) return true;
    const std::string bytes = *line + "\r\n";
    DWORD written = 0;
    if (WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size())
        return true;
    reason = SystemReason(written == 0 ? GetLastError() : ERROR_DISK_FULL);
    Stop();
    return false;
}

}  // namespace tastolink
