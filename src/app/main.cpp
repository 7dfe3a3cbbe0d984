#include <windows.h>
// commctrl.h and shellapi.h need windows.h before them.
#include <commctrl.h>
#include <shellapi.h>

#include <variant>

#include "app/author_window.h"
#include "app/main_window.h"
#include "app/message_loop.h"
#include "link/serial_port_win32.h"
#include "settings/settings_files_win32.h"
#include "shared/text_encoding.h"

namespace {

// The program's arguments, its own name left out, in UTF-8.
std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int at = 1; words && at < count; ++at) arguments.push_back(tastolink::Utf8FromWide(words[at]));
    LocalFree(words);
    return arguments;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    using namespace tastolink;
    SetThreadLocale(MAKELCID(1049, SORT_DEFAULT));  // Russian
    const auto asked = ParseArguments(Arguments());
    if (const auto* bad = std::get_if<BadArguments>(&asked)) {
        WriteToStandardError(bad->why);
        return kBadFileOrArguments;
    }
    std::optional<UnattendedRun> unattended;
    if (const auto* run = std::get_if<UnattendedRun>(&asked)) unattended = *run;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    Win32PortOpener ports;
    Win32SettingsFiles files;
    ScreenMessages screen;
    UnattendedMessages console;
    // A run that closes by itself leaves no box waiting for a person.
    UserMessages& messages =
        unattended && unattended->exitWhenDone ? static_cast<UserMessages&>(console) : screen;
    MainWindow mainWindow({ports, files, messages});
    if (!mainWindow.Create(showCommand, unattended)) {
        messages.ShowError(nullptr, "Не удалось создать главное окно");
        return 1;
    }
    AuthorWindow author;
    if (author.Create())
        mainWindow.SetAuthorWindow(&author);
    else
        messages.ShowError(mainWindow.Handle(), "Не удалось создать окно \"Автор\"");
    return RunMessageLoop(mainWindow);
}
