#include "app/main/key_capture.h"

#include "app/main/main_window_layout.h"

namespace tastolink {

bool KeyCapture::Take(const MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    HWND window = window_.Handle();
    if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
    const WORD key = LOWORD(message.wParam);
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        if (MarksKeyDowns(message.hwnd)) FormKeyDown(key);
    } else if (message.message == WM_KEYUP || message.message == WM_SYSKEYUP) {
        FormKeyUp(key);
    }
    return true;
}

bool KeyCapture::MarksKeyDowns(HWND target) const {
    const bool focusField = GetDlgCtrlID(target) == kEdit1 && GetParent(target) == window_.Handle();
    return target == window_.Handle() || focusField || selectors_.CapturesKeysIn(target);
}

void KeyCapture::OnActivate(bool active, HWND focusField) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_.Handle(), focus)) focusBeforeDeactivation_ = focus;
        held_.ReleaseAll();
        return;
    }
    SetFocus(focusBeforeDeactivation_ && IsWindow(focusBeforeDeactivation_) ? focusBeforeDeactivation_
                                                                            : focusField);
}

}  // namespace tastolink
