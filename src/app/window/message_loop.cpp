#include "app/window/message_loop.h"

#include "app/window/window.h"

namespace tastolink {
namespace {

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

}  // namespace

// Only input is offered: the timers' ticks, up to a hundred a second while a key is held, go
// straight to their windows.
bool PreTranslate(MSG& message) {
    if (!IsInput(message.message)) return false;
    for (HWND window = message.hwnd; window; window = GetParent(window))
        if (Window* target = Window::Of(window); target && target->PreTranslateMessage(message)) return true;
    return false;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void RunMessageLoopWhile(const std::function<bool()>& condition, HWND dialog) {
    MSG message;
    while (condition()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (PreTranslate(message) || (dialog && IsDialogMessageW(dialog, &message))) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace tastolink
