#include "app/window/message_loop.h"

#include <windows.h>

#include "app/main/main_window.h"

namespace tastolink {

int RunMessageLoop(MainWindow& mainWindow) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (mainWindow.PreTranslateMessage(message)) continue;
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
        if (dialog && IsDialogMessageW(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace tastolink
