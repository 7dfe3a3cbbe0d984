#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "shared/handles_win32.h"

namespace tastolink {

// A place laid out at 96 dpi: left, top, width and height.
struct Box {
    int left, top, width, height;
};

// The base of every window of the program, and the one place where an object is attached to a
// window: registers its class once, attaches the object at WM_NCCREATE, or to a control the
// system made through Subclass, and hands each message to HandleMessage; scales by the window's
// dpi, keeps the font the window draws with and its visual style's data, makes its system
// controls, tracks the mouse over it and centres on the window's own monitor. The object owns its
// window: the window goes with it.
class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return window_; }
    // The window's own font, or the one WM_SETFONT gave it; nullptr for none.
    HFONT Font() const { return font_; }

    // Attaches this object to a control the system made (an edit field, a list box): its messages
    // come to HandleMessage first, and what the class leaves goes on to the control's own
    // procedure. A plain subclass of the window procedure: comctl32's SetWindowSubclass would cost
    // Wine a trip to its server for every message. False when the control is already attached.
    bool Subclass(HWND control);
    // As Subclass, for an object that lives as long as the control: it is deleted as the control goes.
    static bool SubclassForLife(HWND control, std::unique_ptr<Window> object);
    // The object attached to `window` by either way, or nullptr for a window of nobody's.
    static Window* Of(HWND window);

    // A message the loop took from the queue, before it is dispatched: true when the window has
    // dealt with it. The loop asks the window the message is for, then each of its parents.
    virtual bool PreTranslateMessage(MSG& /*message*/) { return false; }

protected:
    // How a window is made; its class is registered at the first window of that name.
    struct Creation {
        const wchar_t* className;
        DWORD style = 0;
        DWORD extendedStyle = 0;
        const wchar_t* caption = L"";
        RECT place{};           // for a child, in the parent's client pixels
        HWND parent = nullptr;  // the parent of a child, the owner of a top-level window
        int id = 0;             // a child's control id
        HBRUSH background = nullptr;
        HICON icon = nullptr;
        bool tracksHover = false;             // keeps Hot() up to date
        const wchar_t* themeClass = nullptr;  // the visual style's class Theme() opens
    };
    // False when the class can't be registered or the window can't be made.
    bool CreateOfClass(const Creation& creation);
    // A top-level window whose frame at a dpi is `frameAt(dpi)`, made at its final size and place in
    // the middle of the primary monitor: moving a top-level window costs Wine a trip to the X
    // server. One larger than the screen allows (it would be cut to it, where a move is not), or on a
    // monitor of another dpi, is sized and centred once it exists.
    bool CreateCentred(Creation creation, const std::function<SIZE(UINT dpi)>& frameAt);

    // A control of a system class (edit, button, static, status bar ...) made as a child of
    // this window, visible, with the window's font.
    struct Control {
        const wchar_t* windowClass;
        const wchar_t* text = L"";
        DWORD style = 0;  // besides WS_CHILD | WS_VISIBLE
        int id = 0;
        RECT place{};  // in client pixels
        DWORD extendedStyle = 0;
        bool systemFont = false;  // keeps the font its class chooses (a status bar's) instead
    };
    // Nullptr when the system could not make it.
    HWND AddControl(const Control& control) const;

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT Dpi() const { return window_ ? GetDpiForWindow(window_) : USER_DEFAULT_SCREEN_DPI; }
    int Scaled(int value) const { return MulDiv(value, static_cast<int>(Dpi()), USER_DEFAULT_SCREEN_DPI); }
    // Place and size scale apart, so that every control of a row keeps the same size.
    RECT ScaledRect(Box box) const;
    // Moves the window to the middle of the monitor it lies on.
    void CentreOnMonitor();
    // A window of `size` in the middle of the work area of `monitor`.
    static RECT CentredOn(HMONITOR monitor, SIZE size);

    // Makes `font` the window's own, deleted with it; the font it replaces is handed back, to
    // be deleted once no control draws with it any more.
    GdiObject<HFONT> SetOwnFont(HFONT font);

    // Whether a point of a mouse message lies in the client area.
    bool IsInClient(LPARAM point) const;
    // While the mouse is over the client area, for a window made with tracksHover.
    bool Hot() const { return hot_; }
    // Hot() changed: the window is drawn anew unless a class redraws less.
    virtual void OnHotChanged() { InvalidateRect(window_, nullptr, FALSE); }

    // The visual style's data of the window's theme class, nullptr without a style. Opened as the
    // window first paints, and again after the theme or the dpi changed; closed with the window.
    HTHEME Theme();

    // Answers WM_PAINT: `paint` draws on the window's DC between BeginPaint and EndPaint.
    template <typename Painter>
    LRESULT PaintWith(Painter&& paint) {
        PAINTSTRUCT area;
        paint(BeginPaint(window_, &area));
        EndPaint(window_, &area);
        return 0;
    }

    // Destroys the window now. A class that cleans up on WM_DESTROY calls it from its own
    // destructor, so that the clean-up runs while the object is whole: the base's destructor
    // can only reach the base.
    void Destroy();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window);
    // What the base keeps of every message before the class handles it: the font, the hover, the
    // theme.
    void Observe(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    WNDPROC controlProcedure_ = nullptr;  // a subclassed control's own
    bool ownedByControl_ = false;
    HFONT font_ = nullptr;
    GdiObject<HFONT> ownFont_;
    bool tracksHover_ = false;
    bool hot_ = false;
    const wchar_t* themeClass_ = nullptr;
    ThemeData theme_;
    bool themeOpened_ = false;  // nullptr is an answer too: no visual style
};

// The text of a window or control.
std::wstring WindowText(HWND window);

// "MS Sans Serif", 8 points, at the given dpi; owned by the caller. Nullptr when the system
// has no font left.
HFONT CreateUiFont(UINT dpi);

}  // namespace tastolink
