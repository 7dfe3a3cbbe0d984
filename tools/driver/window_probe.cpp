// window-probe: reports what Tastolink shows, for the driver of the journeys and the bench. For
// each line "report" read from stdin it prints one line of JSON: the main window, its client area
// on the screen, the id of the control that has the keyboard focus, the GUI_* flags of its thread
// (GUI_INMENUMODE while the menu loop runs) and every visible top-level window of its process
// (boxes, the Author window, a dropped list) with the id, class, text and place on the screen of
// each control. Texts come from WM_GETTEXT, which the system carries across processes, so a
// selector reports the text it shows. A line "combo <id> <message> <wParam> [<text>]" instead
// sends a combo box's message to control <id>, as automation tools do, and prints its result and
// any text it gave. The driver keeps it running, since every start of a Wine program costs time.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "shared/handles_win32.h"

namespace {

constexpr UINT kReplyTimeoutMs = 2000;

std::string Json(const std::wstring& text) {
    std::string utf8(text.size() * 3, '\0'), quoted = "\"";
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                                    static_cast<int>(utf8.size()), nullptr, nullptr));
    for (unsigned char byte : utf8) {
        char escape[8] = {static_cast<char>(byte)};
        if (byte < 0x20) std::snprintf(escape, sizeof escape, "\\u%04x", byte);
        if (byte == '"' || byte == '\\') quoted += '\\';
        quoted += escape;
    }
    return quoted + '"';
}

// The text as the control itself reports it; a window that does not answer in time gives "".
std::wstring TextOf(HWND window) {
    wchar_t text[1024] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        kReplyTimeoutMs, nullptr);
    return text;
}

// A status bar gives WM_GETTEXT its first part only. SB_GETTEXTW writes a part to memory of the
// bar's own process, so the text goes through a buffer there. The parts are joined by tabs.
std::wstring PartsOf(HWND bar) {
    DWORD id = 0;
    GetWindowThreadProcessId(bar, &id);
    const tastolink::KernelHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id));
    wchar_t part[1024] = L"";
    void* remote = VirtualAllocEx(process.Get(), nullptr, sizeof part, MEM_COMMIT, PAGE_READWRITE);
    std::wstring parts;
    for (LRESULT index = 0, count = SendMessageW(bar, SB_GETPARTS, 0, 0); index < count; ++index) {
        SendMessageTimeoutW(bar, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                            kReplyTimeoutMs, nullptr);
        ReadProcessMemory(process.Get(), remote, part, sizeof part - sizeof *part, nullptr);
        parts += (index ? L"\t" : L"") + std::wstring(part);
    }
    VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    return parts;
}

BOOL CALLBACK Collect(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::string Describe(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&children));
    std::string controls;
    for (HWND child : children) {
        wchar_t name[64] = L"";
        GetClassNameW(child, name, 64);
        const bool bar = std::wstring(name) == STATUSCLASSNAMEW;
        RECT place{};
        GetWindowRect(child, &place);
        // A list box tells the height of its entries too, by which a click finds one.
        const bool list = std::wstring(name) == WC_LISTBOXW;
        char rect[112];
        std::snprintf(rect, sizeof rect, ",\"rect\":[%ld,%ld,%ld,%ld],\"entry\":%ld}", place.left, place.top,
                      place.right, place.bottom,
                      list ? static_cast<long>(SendMessageW(child, LB_GETITEMHEIGHT, 0, 0)) : 0L);
        controls += (controls.empty() ? "{\"id\":" : ",{\"id\":") + std::to_string(GetDlgCtrlID(child)) +
                    ",\"class\":" + Json(name) + ",\"text\":" + Json(bar ? PartsOf(child) : TextOf(child)) +
                    rect;
    }
    return "{\"hwnd\":" + std::to_string(reinterpret_cast<UINT_PTR>(window)) + ",\"controls\":[" + controls +
           "]}";
}

std::string Report() {
    HWND main = FindWindowW(L"TastolinkMainWindow", nullptr);
    if (!main) return "{\"main\":0,\"focus\":0,\"windows\":[]}";
    DWORD process = 0, owner = 0;
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(main, &process), &gui);
    RECT client{};
    GetClientRect(main, &client);
    MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::vector<HWND> all;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    std::string windows;
    for (HWND window : all) {
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window))
            windows += (windows.empty() ? "" : ",") + Describe(window);
    }
    char head[200];
    std::snprintf(head, sizeof head,
                  "{\"main\":%llu,\"active\":%llu,\"client\":[%ld,%ld,%ld,%ld],\"focus\":%d,\"flags\":%lu,",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(main)),
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(gui.hwndActive)), client.left,
                  client.top, client.right - client.left, client.bottom - client.top,
                  GetDlgCtrlID(gui.hwndFocus), gui.flags);
    return head + ("\"windows\":[" + windows + "]}");
}

// The answer to a combo box's message sent to control `id` of the main window.
std::string Combo(const char* request) {
    static const std::pair<const char*, UINT> kMessages[] = {{"GETCOUNT", CB_GETCOUNT},
                                                             {"GETCURSEL", CB_GETCURSEL},
                                                             {"SETCURSEL", CB_SETCURSEL},
                                                             {"GETLBTEXT", CB_GETLBTEXT},
                                                             {"FINDSTRING", CB_FINDSTRING},
                                                             {"FINDSTRINGEXACT", CB_FINDSTRINGEXACT},
                                                             {"SELECTSTRING", CB_SELECTSTRING},
                                                             {"SHOWDROPDOWN", CB_SHOWDROPDOWN},
                                                             {"GETDROPPEDSTATE", CB_GETDROPPEDSTATE}};
    int id = 0;
    long long wParam = 0;
    char name[32] = "", text[128] = "";
    std::sscanf(request, "combo %d %31s %lld %127[^\n]", &id, name, &wParam, text);
    HWND control = GetDlgItem(FindWindowW(L"TastolinkMainWindow", nullptr), id);
    UINT message = 0;
    for (const auto& [known, code] : kMessages) message = std::string(name) == known ? code : message;
    wchar_t wide[128] = L"";
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, 128);
    // CB_GETLBTEXT writes the entry here; the other messages read the text to find from it.
    LPARAM lParam = message == CB_GETLBTEXT || text[0] ? reinterpret_cast<LPARAM>(wide) : 0;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, message, static_cast<WPARAM>(wParam), lParam, SMTO_ABORTIFHUNG,
                        kReplyTimeoutMs, &result);
    return "{\"result\":" + std::to_string(static_cast<long long>(static_cast<LRESULT>(result))) +
           ",\"text\":" + Json(message == CB_GETLBTEXT ? wide : L"") + "}";
}

}  // namespace

int main() {
    for (char request[256]; std::fgets(request, sizeof request, stdin);) {
        const std::string report =
            (std::strncmp(request, "combo ", 6) == 0 ? Combo(request) : Report()) + '\n';
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), report.data(), static_cast<DWORD>(report.size()), &written,
                  nullptr);
    }
    return 0;
}
