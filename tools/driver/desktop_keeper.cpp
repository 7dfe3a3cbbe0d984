// desktop-keeper: keeps Wine's desktop for a whole test run. Wine ends its desktop process
// (explorer) about a second after the last program on the desktop has ended, and a run starts and
// ends programs one after another, each test file's first right about then: a program that starts
// while the desktop goes can't make its window. While this one runs, the desktop has a user and
// stays. It prints "ready" once it holds the desktop, and waits until it is ended.
#include <windows.h>

int main() {
    // Attaches the process to its desktop, starting Wine's desktop process when there is none.
    if (!GetDesktopWindow()) return 1;
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "ready\n", 6, &written, nullptr);
    CloseHandle(GetStdHandle(STD_OUTPUT_HANDLE));
    Sleep(INFINITE);
}
