#include "shared/system_error_text_win32.h"

#include "shared/system_error_text.h"
#include "shared/text_encoding.h"

namespace tastolink {

std::string SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::string text = length ? Utf8FromWide(std::wstring_view(buffer, length)) : std::string();
    LocalFree(buffer);
    const std::string trimmed = TrimSystemErrorText(text);
    return trimmed.empty() ? "ошибка " + std::to_string(error) : trimmed;
}

}  // namespace tastolink
