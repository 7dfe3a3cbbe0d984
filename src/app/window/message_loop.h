#pragma once

#include <windows.h>

#include <functional>

namespace tastolink {

// The program's message loop; returns the exit code when the main window has closed.
int RunMessageLoop();

// Offers a key or mouse message, before it is dispatched, to the window it is for and then to each
// of its parents in turn (PreTranslateMessage); true when one of them has dealt with it.
bool PreTranslate(MSG& message);

// A nested loop for a modal window: runs while the condition holds. A WM_QUIT that
// arrives meanwhile is passed on to the outer loop. Input is offered to PreTranslate first, as in
// the program's loop; then keys for a dialog-like window go through the dialog manager (Tab,
// Enter, Esc).
void RunMessageLoopWhile(const std::function<bool()>& condition, HWND dialog = nullptr);

}  // namespace tastolink
