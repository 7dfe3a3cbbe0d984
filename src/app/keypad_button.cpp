#include "app/keypad_button.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <string>

namespace tastolink {
namespace {

constexpr wchar_t kClassName[] = L"TastolinkKeypadButton";
constexpr int kPictureSize = 24;

struct ButtonState {
    HBITMAP picture = nullptr;
    KeypadButtonLook look = KeypadButtonLook::Raised;
    HFONT font = nullptr;
    bool tracking = false;  // the left button went down on us and is still down
    bool pressed = false;   // ... and the mouse is over us
    bool hot = false;
};

ButtonState* StateOf(HWND button) { return reinterpret_cast<ButtonState*>(GetWindowLongPtrW(button, 0)); }

bool CursorInside(HWND button, LPARAM lParam) {
    RECT client;
    GetClientRect(button, &client);
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return PtInRect(&client, point) != FALSE;
}

void DrawPicture(HDC dc, const RECT& area, HBITMAP picture, UINT dpi) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture);
    const int size = MulDiv(kPictureSize, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    const int left = (area.left + area.right - size) / 2;
    const int top = (area.top + area.bottom - size) / 2;
    // The lower-left pixel gives the background colour that is left out.
    const COLORREF transparent = GetPixel(source, 0, kPictureSize - 1);
    TransparentBlt(dc, left, top, size, size, source, 0, 0, kPictureSize, kPictureSize, transparent);
    SelectObject(source, old);
    DeleteDC(source);
}

void DrawCaption(HWND button, HDC dc, RECT area, HFONT font, COLORREF colour) {
    wchar_t caption[64];
    GetWindowTextW(button, caption, 64);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextW(dc, caption, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

void DrawRaisedFace(HWND button, HDC dc, RECT& area, const ButtonState& state) {
    HTHEME theme = OpenThemeData(button, L"BUTTON");
    if (theme) {
        const int part = state.pressed ? PBS_PRESSED : state.hot ? PBS_HOT : PBS_NORMAL;
        if (IsThemeBackgroundPartiallyTransparent(theme, BP_PUSHBUTTON, part))
            DrawThemeParentBackground(button, dc, &area);
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, part, &area, nullptr);
        CloseThemeData(theme);
    } else {
        DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (state.pressed ? DFCS_PUSHED : 0));
    }
    if (state.pressed) OffsetRect(&area, 1, 1);
}

void DrawFlatFace(HWND button, HDC dc, const RECT& area, const ButtonState& state) {
    // The flat button sits on its window's own background and shows a frame under the mouse.
    HBRUSH background = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(button), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(button)));
    FillRect(dc, &area, background ? background : GetSysColorBrush(COLOR_BTNFACE));
    if (state.hot || state.pressed) {
        RECT frame = area;
        DrawEdge(dc, &frame, state.pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
}

void Paint(HWND button, ButtonState& state) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(button, &paint);
    RECT area;
    GetClientRect(button, &area);
    if (state.look == KeypadButtonLook::Flat) {
        DrawFlatFace(button, dc, area, state);
        DrawCaption(button, dc, area, state.font, GetTextColor(dc));
    } else {
        DrawRaisedFace(button, dc, area, state);
        if (state.picture)
            DrawPicture(dc, area, state.picture, GetDpiForWindow(button));
        else
            DrawCaption(button, dc, area, state.font, GetSysColor(COLOR_BTNTEXT));
    }
    EndPaint(button, &paint);
}

void SetPressed(HWND button, ButtonState& state, bool pressed) {
    if (state.pressed == pressed) return;
    state.pressed = pressed;
    InvalidateRect(button, nullptr, FALSE);
}

void SetHot(HWND button, ButtonState& state, bool hot) {
    if (state.hot == hot) return;
    state.hot = hot;
    if (hot) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
    }
    InvalidateRect(button, nullptr, FALSE);
}

LRESULT CALLBACK KeypadButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    ButtonState* state = StateOf(button);
    if (!state && message != WM_NCCREATE) return DefWindowProcW(button, message, wParam, lParam);
    switch (message) {
        case WM_NCCREATE: {
            auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(button, 0, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
            break;
        }
        case WM_NCDESTROY:
            delete state;
            SetWindowLongPtrW(button, 0, 0);
            break;
        case WM_SETFONT:
            state->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(button, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(state->font);
        case WM_LBUTTONDOWN:
            // No SetFocus here: the focus stays in the field that captures keys.
            state->tracking = true;
            SetCapture(button);
            SetPressed(button, *state, true);
            return 0;
        case WM_MOUSEMOVE:
            SetHot(button, *state, CursorInside(button, lParam));
            if (state->tracking) SetPressed(button, *state, CursorInside(button, lParam));
            return 0;
        case WM_MOUSELEAVE:
            SetHot(button, *state, false);
            return 0;
        case WM_LBUTTONUP: {
            const bool click = state->tracking && CursorInside(button, lParam);
            state->tracking = false;
            ReleaseCapture();
            SetPressed(button, *state, false);
            if (click)
                SendMessageW(GetParent(button), WM_COMMAND,
                             MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
            return 0;
        }
        case WM_RBUTTONUP:
            SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), kKeypadLongPress),
                         reinterpret_cast<LPARAM>(button));
            return 0;
        case WM_CAPTURECHANGED:
            state->tracking = false;
            SetPressed(button, *state, false);
            return 0;
        case WM_PAINT:
            Paint(button, *state);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_THEMECHANGED:
            InvalidateRect(button, nullptr, TRUE);
            return 0;
    }
    return DefWindowProcW(button, message, wParam, lParam);
}

void RegisterClassOnce() {
    WNDCLASSEXW existing{sizeof existing};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &existing)) return;
    WNDCLASSEXW windowClass{sizeof windowClass};
    windowClass.lpfnWndProc = KeypadButtonProc;
    windowClass.cbWndExtra = sizeof(ButtonState*);
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
}

}  // namespace

HWND CreateKeypadButton(HWND parent, int id, const wchar_t* caption, HBITMAP picture, KeypadButtonLook look) {
    RegisterClassOnce();
    // The window owns its state from WM_NCCREATE on and frees it at WM_NCDESTROY.
    auto* state = new ButtonState{picture, look};
    return CreateWindowExW(0, kClassName, caption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), state);
}

}  // namespace tastolink
