// window-probe: reports what Tastolink shows, for the end-to-end tests.
//
//   wine window-probe.exe
//
// For each line read from stdin, prints one line of JSON on stdout: the main window, the
// control that has the keyboard focus in its thread, and every visible top-level window of
// its process (message boxes, the Author window) with the id, class and text of each of its
// controls, and the GUI_* flags of its thread (GUI_INMENUMODE while the menu loop runs).
// Texts are read with WM_GETTEXT, which the system carries across processes, so a combo box
// reports the text it shows. Reports {"main":0,...} when Tastolink has no main
// window. Never sends input. Ends at the end of its input; a test keeps it running, since
// every start of a Wine program costs time.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kMainWindowClass[] = L"TastolinkMainWindow";
constexpr UINT kReplyTimeoutMs = 2000;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

std::string Json(const std::wstring& text) {
    std::string quoted = "\"";
    for (unsigned char byte : Utf8(text)) {
        if (byte == '"' || byte == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(byte);
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            quoted += escape;
        } else {
            quoted += static_cast<char>(byte);
        }
    }
    return quoted + '"';
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

// The text as the control itself reports it; a window that does not answer in time gives "".
std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kReplyTimeoutMs, &copied))
        return {};
    text.resize(copied);
    return text;
}

std::string Handle(HWND window) { return std::to_string(reinterpret_cast<UINT_PTR>(window)); }

std::string Control(HWND control) {
    if (!control) return "null";
    HWND parent = GetParent(control);
    return "{\"hwnd\":" + Handle(control) + ",\"id\":" + std::to_string(GetDlgCtrlID(control)) +
           ",\"class\":" + Json(ClassOf(control)) +
           ",\"parent_id\":" + std::to_string(parent ? GetDlgCtrlID(parent) : 0) + "}";
}

struct Search {
    DWORD process;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window)) search->windows.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

std::string Describe(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChildren, reinterpret_cast<LPARAM>(&children));
    std::string controls;
    for (HWND child : children) {
        if (!controls.empty()) controls += ',';
        controls += "{\"id\":" + std::to_string(GetDlgCtrlID(child)) + ",\"class\":" + Json(ClassOf(child)) +
                    ",\"text\":" + Json(TextOf(child)) +
                    ",\"visible\":" + (IsWindowVisible(child) ? "true" : "false") + "}";
    }
    return "{\"hwnd\":" + Handle(window) + ",\"class\":" + Json(ClassOf(window)) +
           ",\"title\":" + Json(TextOf(window)) +
           ",\"enabled\":" + (IsWindowEnabled(window) ? "true" : "false") + ",\"controls\":[" + controls +
           "]}";
}

std::string Report() {
    std::string report;
    HWND main = FindWindowW(kMainWindowClass, nullptr);
    if (!main) {
        report = "{\"main\":0,\"focus\":null,\"active\":0,\"windows\":[]}";
    } else {
        Search search{};
        const DWORD thread = GetWindowThreadProcessId(main, &search.process);
        GUITHREADINFO gui{sizeof gui};
        GetGUIThreadInfo(thread, &gui);
        EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
        std::string windows;
        for (HWND window : search.windows) {
            if (!windows.empty()) windows += ',';
            windows += Describe(window);
        }
        report = "{\"main\":" + Handle(main) + ",\"focus\":" + Control(gui.hwndFocus) +
                 ",\"active\":" + Handle(gui.hwndActive) + ",\"flags\":" + std::to_string(gui.flags) +
                 ",\"windows\":[" + windows + "]}";
    }
    return report;
}

}  // namespace

int main() {
    char request[256];
    while (std::fgets(request, sizeof request, stdin)) {
        const std::string report = Report() + '\n';
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), report.data(), static_cast<DWORD>(report.size()), &written,
                  nullptr);
    }
    return 0;
}
