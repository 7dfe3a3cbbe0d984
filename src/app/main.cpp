#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include "app/author_window.h"
#include "app/main_window.h"
#include "app/message_loop.h"
#include "link/serial_port_win32.h"
#include "settings/settings_files_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    using namespace tastolink;
    SetThreadLocale(MAKELCID(1049, SORT_DEFAULT));  // Russian
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    Win32PortOpener ports;
    Win32SettingsFiles files;
    ScreenMessages messages;
    MainWindow mainWindow({ports, files, messages});
    if (!mainWindow.Create(showCommand)) {
        MessageBoxW(nullptr, L"Не удалось создать главное окно", ProgramTitle().c_str(), MB_OK | MB_ICONSTOP);
        return 1;
    }
    AuthorWindow author;
    if (author.Create())
        mainWindow.SetAuthorWindow(&author);
    else
        messages.ShowError(mainWindow.Handle(), "Не удалось создать окно \"Автор\"");
    return RunMessageLoop(mainWindow);
}
