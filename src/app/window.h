#pragma once

#include <windows.h>

#include <string>

namespace tastolink {

// The base of every window of the program: registers its class once, attaches the object
// at WM_NCCREATE and hands each message to HandleMessage; scales by the window's dpi, makes
// the program's UI font and centres on the window's own monitor.
class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return window_; }

protected:
    struct Class {
        const wchar_t* name;
        HBRUSH background;
        HICON icon = nullptr;
    };
    // False when the class can't be registered or the window can't be made.
    bool CreateOfClass(const Class& windowClass, DWORD extendedStyle, const wchar_t* caption, DWORD style,
                       RECT place, HWND parent, int id = 0);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT Dpi() const { return window_ ? GetDpiForWindow(window_) : USER_DEFAULT_SCREEN_DPI; }
    int Scaled(int value) const { return MulDiv(value, static_cast<int>(Dpi()), USER_DEFAULT_SCREEN_DPI); }
    // Moves the window to the middle of the monitor it lies on.
    void CentreOnMonitor();
    // A window of `size` in the middle of the work area of `monitor`.
    static RECT CentredOn(HMONITOR monitor, SIZE size);
    // Answers WM_PAINT: `paint` draws on the window's DC between BeginPaint and EndPaint.
    template <typename Painter>
    LRESULT PaintWith(Painter&& paint) {
        PAINTSTRUCT area;
        paint(BeginPaint(window_, &area));
        EndPaint(window_, &area);
        return 0;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

// The text of a window or control.
std::wstring WindowText(HWND window);

// "MS Sans Serif", 8 points, at the given dpi; owned by the caller. Nullptr when the system
// has no font left.
HFONT CreateUiFont(UINT dpi);

// A GDI object deleted with its owner.
template <typename Handle>
class GdiObject {
public:
    GdiObject() = default;
    ~GdiObject() { Reset(nullptr); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    void Reset(Handle handle) {
        if (handle_) DeleteObject(handle_);
        handle_ = handle;
    }
    Handle Get() const { return handle_; }
    Handle Release() {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

private:
    Handle handle_ = nullptr;
};

}  // namespace tastolink
