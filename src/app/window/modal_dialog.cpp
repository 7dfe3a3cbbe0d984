#include "app/window/modal_dialog.h"

#include <stdexcept>
#include <string>

#include "app/window/message_loop.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExtendedStyle = WS_EX_DLGMODALFRAME;

}  // namespace

bool ModalDialog::RunModal(HWND owner) {
    open_ = true;
    accepted_ = false;
    if (!Make(owner)) {
        Destroy();
        throw std::runtime_error("Не удалось создать окно «" + Utf8FromWide(look_.caption) + "»");
    }
    const bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
    ShowWindow(Handle(), SW_SHOW);
    SetFocus(GetNextDlgTabItem(Handle(), nullptr, FALSE));
    RunMessageLoopWhile([this] { return open_; });
    // The owner is enabled before the dialog goes, so that the activation goes back to it.
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    Destroy();
    return accepted_;
}

bool ModalDialog::Make(HWND owner) {
    const auto frameAt = [this](UINT dpi) {
        const int scale = static_cast<int>(dpi);
        RECT frame{0, 0, MulDiv(look_.client.cx, scale, USER_DEFAULT_SCREEN_DPI),
                   MulDiv(look_.client.cy, scale, USER_DEFAULT_SCREEN_DPI)};
        AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExtendedStyle, dpi);
        return SIZE{frame.right - frame.left, frame.bottom - frame.top};
    };
    if (!CreateCentred({.className = look_.className,
                        .style = kStyle,
                        .extendedStyle = kExtendedStyle,
                        .caption = look_.caption,
                        .parent = owner,
                        .background = GetSysColorBrush(COLOR_BTNFACE)},
                       frameAt))
        return false;
    SetOwnFont(CreateUiFont(Dpi()));
    return BuildControls();
}

void ModalDialog::End(bool accepted) {
    accepted_ = accepted;
    open_ = false;
}

// Only the dialog's own keys: a box over it runs a loop of its own, and its keys are its own.
bool ModalDialog::PreTranslateMessage(MSG& message) {
    if (message.message != WM_KEYDOWN || (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd)))
        return false;
    switch (message.wParam) {
        case VK_TAB:
            SetFocus(GetNextDlgTabItem(Handle(), GetFocus(), GetKeyState(VK_SHIFT) < 0));
            return true;
        case VK_RETURN:
            ClickDefault();
            return true;
        case VK_ESCAPE:
            End(false);
            return true;
    }
    return false;
}

void ModalDialog::ClickDefault() {
    const HWND focus = GetFocus();
    const bool onButton = IsChild(Handle(), focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) &
                                                       (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
    const int id = onButton ? GetDlgCtrlID(focus) : IDOK;
    SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Handle(), id)));
}

LRESULT ModalDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL)
                End(false);
            else
                OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CLOSE:
            End(false);
            return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tastolink
