#include "app/selector_completion.h"

#include <windowsx.h>

#include <string>

namespace tastolink {
namespace {

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

void CompleteFromList(HWND edit, HWND comboBox) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::wstring typed = TextOf(edit);
    if (start != end || end != typed.size()) return;  // typed in the middle: left as it is
    const int found = ComboBox_FindString(comboBox, -1, typed.c_str());
    if (found == CB_ERR) return;
    std::wstring entry(static_cast<std::size_t>(ComboBox_GetLBTextLen(comboBox, found)) + 1, L'\0');
    entry.resize(static_cast<std::size_t>(ComboBox_GetLBText(comboBox, found, entry.data())));
    SetWindowTextW(edit, entry.c_str());
    Edit_SetSel(edit, typed.size(), entry.size());
}

}  // namespace tastolink
