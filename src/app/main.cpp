#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxW(nullptr, L"Tastolink", L"Tastolink", MB_OK);
    return 0;
}
