#pragma once

#include <functional>

namespace tastolink {

class MainWindow;

// The program's message loop; returns the exit code when the main window has closed.
int RunMessageLoop(MainWindow& mainWindow);

// A nested loop for a modal window: runs while the condition holds. A WM_QUIT that
// arrives meanwhile is passed on to the outer loop.
void RunMessageLoopWhile(const std::function<bool()>& condition);

}  // namespace tastolink
