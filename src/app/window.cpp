#include "app/window.h"

namespace tastolink {

Window::~Window() {
    if (window_) DestroyWindow(window_);
}

bool Window::CreateOfClass(const Class& windowClass, DWORD extendedStyle, const wchar_t* caption, DWORD style,
                           RECT place, HWND parent, int id) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    if (!GetClassInfoExW(instance, windowClass.name, &registered)) {
        WNDCLASSEXW fresh{};
        fresh.cbSize = sizeof fresh;
        fresh.lpfnWndProc = Procedure;
        fresh.hInstance = instance;
        fresh.hIcon = windowClass.icon;
        fresh.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        fresh.hbrBackground = windowClass.background;
        fresh.lpszClassName = windowClass.name;
        if (!RegisterClassExW(&fresh)) return false;
    }
    // A child's id travels in the menu argument.
    HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    return CreateWindowExW(extendedStyle, windowClass.name, caption, style, place.left, place.top,
                           place.right - place.left, place.bottom - place.top, parent, menuOrId, instance,
                           this) != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Window::CentreOnMonitor() {
    RECT frame;
    GetWindowRect(window_, &frame);
    const RECT place = CentredOn(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST),
                                 {frame.right - frame.left, frame.bottom - frame.top});
    SetWindowPos(window_, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Window::CentredOn(HMONITOR monitor, SIZE size) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const RECT& area = info.rcWork;
    const LONG left = (area.left + area.right - size.cx) / 2, top = (area.top + area.bottom - size.cy) / 2;
    return {left, top, left + size.cx, top + size.cy};
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        self->window_ = nullptr;
        return result;
    }
    return self->HandleMessage(message, wParam, lParam);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HFONT CreateUiFont(UINT dpi) {
    constexpr int kPoints = 8;
    return CreateFontW(-MulDiv(kPoints, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
}

}  // namespace tastolink
