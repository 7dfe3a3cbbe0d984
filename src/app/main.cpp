#include <windows.h>
// commctrl.h and shellapi.h need windows.h before them.
#include <commctrl.h>
#include <shellapi.h>

#include <optional>
#include <variant>

#include "app/identify_command.h"
#include "app/main/author_window.h"
#include "app/main/main_window.h"
#include "app/window/message_loop.h"
#include "link/serial_port_win32.h"
#include "settings/settings_files_win32.h"
#include "shared/handles_win32.h"
#include "shared/late_bound_win32.h"
#include "shared/text_encoding.h"

namespace {

// The program's arguments, its own name left out, in UTF-8. The DLL that splits a command line
// is loaded only when there is something after the program's name.
std::vector<std::string> Arguments() {
    const wchar_t* line = GetCommandLineW();
    if (*line == L'"') line = wcschr(line + 1, L'"') ? wcschr(line + 1, L'"') + 1 : line + wcslen(line);
    line += wcscspn(line, L" \t");
    if (line[wcsspn(line, L" \t")] == L'\0') return {};
    static const auto split =
        tastolink::LateBound<decltype(&CommandLineToArgvW)>(L"shell32.dll", "CommandLineToArgvW");
    int count = 0;
    wchar_t** words = split ? split(GetCommandLineW(), &count) : nullptr;
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
    if (const auto* identify = std::get_if<IdentifyCommand>(&asked)) return IdentifyOnConsole(*identify);
    std::optional<UnattendedRun> unattended;
    if (const auto* run = std::get_if<UnattendedRun>(&asked)) unattended = *run;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The windows' accessible objects go to assistive technology through COM, which is started once
    // the windows show: starting it takes Wine 3 to 6 ms, which the window would wait for before it
    // maps. Until then (a box about a problem at the start) a control is described by the system's
    // own object. It ends after the windows, whose objects it carries.
    std::optional<ComApartment> com;

    Win32SerialPortOpener ports;
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
    com.emplace();
    return RunMessageLoop();
}
