#include "app/features/typing_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "app/window/message_loop.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExtendedStyle = WS_EX_DLGMODALFRAME;
constexpr int kFieldId = 100;

// The client area and its controls at 96 dpi.
constexpr Box kClient{0, 0, 360, 190};
constexpr Box kLabel{8, 8, 344, 13};
constexpr Box kField{8, 24, 344, 120};
constexpr Box kTypeButton{196, 156, 75, 23};
constexpr Box kCancelButton{277, 156, 75, 23};

// The UTF-16 units of `text` before its character `position` (from 1).
int UnitsBefore(const std::wstring& text, std::size_t position) {
    std::size_t units = 0;
    for (std::size_t character = 1; character < position && units < text.size(); ++character)
        units += IS_HIGH_SURROGATE(text[units]) ? 2 : 1;
    return static_cast<int>(std::min(units, text.size()));
}

}  // namespace

std::optional<std::string> TypingDialog::Ask(HWND owner, const std::string& text) {
    if (!CreateOfClass({.className = L"TastolinkTypingDialog",
                        .style = kStyle,
                        .extendedStyle = kExtendedStyle,
                        .caption = L"Набрать текст",
                        .parent = owner,
                        .background = GetSysColorBrush(COLOR_BTNFACE)}) ||
        !LayOut(text))
        return std::nullopt;
    const bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
    ShowWindow(Handle(), SW_SHOW);
    SetFocus(field_);
    RunMessageLoopWhile([this] { return open_; });
    // Enable the owner before the dialog goes, so that the activation goes back to it.
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    Destroy();
    return taken_;
}

bool TypingDialog::LayOut(const std::string& text) {
    SetOwnFont(CreateUiFont(Dpi()));
    const std::wstring wide = WideFromUtf8(text);
    // Creation order is tab order; the label before the field names it for a screen reader.
    const bool made =
        AddControl(
            {.windowClass = WC_STATICW, .text = L"Текст для телефона:", .place = ScaledRect(kLabel)}) &&
        (field_ = AddControl({.windowClass = WC_EDITW,
                              .text = wide.c_str(),
                              .style = WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                              .id = kFieldId,
                              .place = ScaledRect(kField),
                              .extendedStyle = WS_EX_CLIENTEDGE})) &&
        AddControl({.windowClass = WC_BUTTONW,
                    .text = L"Набрать",
                    .style = WS_TABSTOP | BS_DEFPUSHBUTTON,
                    .id = IDOK,
                    .place = ScaledRect(kTypeButton)}) &&
        AddControl({.windowClass = WC_BUTTONW,
                    .text = L"Отмена",
                    .style = WS_TABSTOP | BS_PUSHBUTTON,
                    .id = IDCANCEL,
                    .place = ScaledRect(kCancelButton)});
    if (!made) return false;
    // The last text comes back whole, ready to be typed again or typed over.
    Edit_SetSel(field_, 0, -1);
    RECT frame = ScaledRect(kClient);
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExtendedStyle, Dpi());
    SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    CentreOnMonitor();
    return true;
}

void TypingDialog::Accept() {
    const std::wstring wide = WindowText(field_);
    const std::string text = Utf8FromWide(wide);
    if (const auto refused = check_(Handle(), text)) {
        const int from = UnitsBefore(wide, *refused);
        const int length = from < static_cast<int>(wide.size()) && IS_HIGH_SURROGATE(wide[from]) ? 2 : 1;
        SetFocus(field_);
        Edit_SetSel(field_, from, from + length);
        Edit_ScrollCaret(field_);
        return;
    }
    taken_ = text;
    open_ = false;
}

bool TypingDialog::PreTranslateMessage(MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    switch (message.wParam) {
        case VK_RETURN:
            if (GetFocus() == GetDlgItem(Handle(), IDCANCEL))
                open_ = false;
            else
                Accept();
            return true;
        case VK_ESCAPE:
            open_ = false;
            return true;
        case VK_TAB:
            // The field would take Tab as a character: the dialog moves the focus itself.
            SetFocus(GetNextDlgTabItem(Handle(), GetFocus(), GetKeyState(VK_SHIFT) < 0));
            return true;
    }
    return false;
}

LRESULT TypingDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) Accept();
            if (LOWORD(wParam) == IDCANCEL) open_ = false;
            return 0;
        case WM_CLOSE:
            open_ = false;
            return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tastolink
