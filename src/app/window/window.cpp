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
    themeClass_ = creation.themeClass;
    // A child's id travels in the menu argument.
    HMENU menuOrId =
        (creation.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(creation.id)) : nullptr;
    const RECT& at = creation.place;
    return CreateWindowExW(creation.extendedStyle, creation.className, creation.caption, creation.style,
                           at.left, at.top, at.right - at.left, at.bottom - at.top, creation.parent, menuOrId,
                           instance, this) != nullptr;
}

bool Window::CreateCentred(Creation creation, const std::function<SIZE(UINT dpi)>& frameAt) {
    const UINT primaryDpi = GetDpiForSystem();
    const SIZE wanted = frameAt(primaryDpi);
    const bool fits =
        wanted.cx <= GetSystemMetrics(SM_CXMAXTRACK) && wanted.cy <= GetSystemMetrics(SM_CYMAXTRACK);
    if (fits) creation.place = CentredOn(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), wanted);
    if (!CreateOfClass(creation)) return false;
    if (!fits || Dpi() != primaryDpi) {
        const SIZE frame = frameAt(Dpi());
        SetWindowPos(window_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CentreOnMonitor();
    }
    return true;
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

bool Window::Subclass(HWND control) {
    if (window_ || !control || Of(control)) return false;
    Attach(control);
    font_ = GetWindowFont(control);
    controlProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::Procedure)));
    return true;
}

bool Window::SubclassForLife(HWND control, std::unique_ptr<Window> object) {
    if (!object->Subclass(control)) return false;
    object.release()->ownedByControl_ = true;
    return true;
}

// Only a window whose procedure is the base's, by its class or by a subclass, holds an object in
// its user data; any other window of the thread (the system's own, an input method's) may hold
// something else there.
Window* Window::Of(HWND window) {
    const auto procedure = reinterpret_cast<ULONG_PTR>(&Window::Procedure);
    if (GetClassLongPtrW(window, GCLP_WNDPROC) != procedure &&
        static_cast<ULONG_PTR>(GetWindowLongPtrW(window, GWLP_WNDPROC)) != procedure)
        return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Window::Attach(HWND window) {
    window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HTHEME Window::Theme() {
    if (!themeOpened_ && window_ && themeClass_) {
        theme_.Reset(OpenThemeData(window_, themeClass_));
        themeOpened_ = true;
    }
    return theme_.Get();
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (controlProcedure_) return CallWindowProcW(controlProcedure_, window_, message, wParam, lParam);
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
        case WM_THEMECHANGED:
        case WM_DPICHANGED_AFTERPARENT:
            if (!themeClass_) break;
            // Opened again as the window paints anew.
            theme_.Reset();
            themeOpened_ = false;
            InvalidateRect(window_, nullptr, TRUE);
            break;
        case WM_DESTROY:
            theme_.Reset();
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

// The procedure of the program's own classes, and of every control it subclasses.
LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams)->Attach(window);
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window goes; the object stays, with no window, unless it lives only as long as the window.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (self->controlProcedure_)
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->controlProcedure_));
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        self->window_ = nullptr;
        self->controlProcedure_ = nullptr;
        self->themeOpened_ = false;
        if (self->ownedByControl_) delete self;
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
