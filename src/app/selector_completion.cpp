#include "app/selector_completion.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

namespace tastolink {
namespace {

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

LRESULT CALLBACK CompletingEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR comboBox) {
    const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    // Only a character that went in at the end completes; Backspace and other controls don't.
    if (message != WM_CHAR || wParam < L' ' || wParam == 0x7F) return result;
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::wstring typed = TextOf(edit);
    if (start != end || end != typed.size()) return result;
    const auto selector = reinterpret_cast<HWND>(comboBox);
    const int found = ComboBox_FindString(selector, -1, typed.c_str());
    if (found == CB_ERR) return result;
    std::wstring entry(static_cast<std::size_t>(ComboBox_GetLBTextLen(selector, found)) + 1, L'\0');
    entry.resize(static_cast<std::size_t>(ComboBox_GetLBText(selector, found, entry.data())));
    SetWindowTextW(edit, entry.c_str());
    Edit_SetSel(edit, typed.size(), entry.size());
    return result;
}

}  // namespace

void CompleteFromList(HWND comboBox) {
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    if (GetComboBoxInfo(comboBox, &parts) && parts.hwndItem)
        SetWindowSubclass(parts.hwndItem, CompletingEditProc, 0, reinterpret_cast<DWORD_PTR>(comboBox));
}

}  // namespace tastolink
