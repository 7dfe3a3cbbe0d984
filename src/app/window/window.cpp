#include "app/window/window.h"

#include <windowsx.h>

namespace tastolink {

Window::~Window() { Destroy(); }

void Window::Destroy() {
    if (window_) DestroyWindow(window_);
}

bool Window::CreateOfClass(const Creation& creation) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    if (!GetClassInfoExW(instance, creation.className, &registered)) {
        WNDCLASSEXW fresh{};
        fresh.cbSize = sizeof fresh;
        fresh.lpfnWndProc = Procedure;
        fresh.hInstance = instance;
        fresh.hIcon = creation.icon;
        fresh.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        fresh.hbrBackground = creation.background;
        fresh.lpszClassName = creation.className;
        if (!RegisterClassExW(&fresh)) return false;
    }
    tracksHover_ = creation.tracksHover;
    // A child's id travels in the menu argument.
    HMENU menuOrId =
        (creation.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(creation.id)) : nullptr;
    const RECT& at = creation.place;
    return CreateWindowExW(creation.extendedStyle, creation.className, creation.caption, creation.style,
                           at.left, at.top, at.right - at.left, at.bottom - at.top, creation.parent, menuOrId,
                           instance, this) != nullptr;
}

HWND Window::AddControl(const Control& control) const {
    const RECT& at = control.place;
    HWND made = CreateWindowExW(
        control.extendedStyle, control.windowClass, control.text, WS_CHILD | WS_VISIBLE | control.style,
        at.left, at.top, at.right - at.left, at.bottom - at.top, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), GetModuleHandleW(nullptr), nullptr);
    if (made && !control.systemFont) SetWindowFont(made, font_, FALSE);
    return made;
}

bool Window::IsInClient(LPARAM point) const {
    RECT client;
    GetClientRect(window_, &client);
    return PtInRect(&client, POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)}) != FALSE;
}

RECT Window::ScaledRect(Box box) const {
    return {Scaled(box.left), Scaled(box.top), Scaled(box.left) + Scaled(box.width),
            Scaled(box.top) + Scaled(box.height)};
}

GdiObject<HFONT> Window::SetOwnFont(HFONT font) {
    GdiObject<HFONT> replaced(ownFont_.Release());
    ownFont_.Reset(font);
    font_ = font;
    return replaced;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFONT:
            if (LOWORD(lParam)) InvalidateRect(window_, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Window::Observe(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            break;
        case WM_MOUSEMOVE: {
            if (!tracksHover_) break;
            // While the mouse is captured, moves outside the window arrive too.
            const bool inside = IsInClient(lParam);
            if (inside == hot_) break;
            hot_ = inside;
            if (inside) {
                TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, window_, 0};
                TrackMouseEvent(&leave);
            }
            OnHotChanged();
            break;
        }
        case WM_MOUSELEAVE:
            if (!hot_) break;
            hot_ = false;
            OnHotChanged();
            break;
    }
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
    self->Observe(message, wParam, lParam);
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
