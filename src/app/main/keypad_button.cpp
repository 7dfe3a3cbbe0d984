#include "app/main/keypad_button.h"

#include <uxtheme.h>
#include <vssym32.h>
#include <windowsx.h>

namespace tastolink {
namespace {

constexpr int kPictureSize = 24;
constexpr BYTE kWashAlpha = 170;  // of 255

// Washes `area` over with the face's colour, as the system greys the picture of a disabled button.
void WashWithFace(HDC dc, const RECT& area) {
    HDC face = CreateCompatibleDC(dc);
    const GdiObject<HBITMAP> pixel(CreateCompatibleBitmap(dc, 1, 1));
    HGDIOBJ old = SelectObject(face, pixel.Get());
    SetPixel(face, 0, 0, GetSysColor(COLOR_BTNFACE));
    AlphaBlend(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, face, 0, 0, 1, 1,
               {AC_SRC_OVER, 0, kWashAlpha, 0});
    SelectObject(face, old);
    DeleteDC(face);
}

}  // namespace

bool KeypadButton::Create(HWND parent, int id, const wchar_t* caption, HBITMAP picture, Look look, RECT place,
                          std::wstring name) {
    picture_ = picture;
    look_ = look;
    name_ = std::move(name);
    return CreateOfClass({.className = L"TastolinkKeypadButton",
                          .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                          .caption = caption,
                          .place = place,
                          .parent = parent,
                          .id = id,
                          .tracksHover = true,
                          .themeClass = L"BUTTON"});
}

void KeypadButton::SetAvailable(bool available) {
    if (available_ == available) return;
    available_ = available;
    tracking_ = false;
    pressed_ = false;
    InvalidateRect(Handle(), nullptr, FALSE);
    RaiseEvent(EVENT_OBJECT_STATECHANGE, Handle());
}

void KeypadButton::Click(WORD notification) {
    if (notification == BN_CLICKED) accessible_.Raise(EVENT_OBJECT_INVOKED);
    FORWARD_WM_COMMAND(GetParent(Handle()), GetDlgCtrlID(Handle()), Handle(), notification, SendMessageW);
}

void KeypadButton::DrawPicture(HDC dc, const RECT& area) const {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture_);
    const int size = Scaled(kPictureSize);
    const int left = (area.left + area.right - size) / 2;
    const int top = (area.top + area.bottom - size) / 2;
    // The lower-left pixel gives the background colour that is left out.
    const COLORREF transparent = GetPixel(source, 0, kPictureSize - 1);
    TransparentBlt(dc, left, top, size, size, source, 0, 0, kPictureSize, kPictureSize, transparent);
    SelectObject(source, old);
    DeleteDC(source);
    if (!available_) WashWithFace(dc, {left, top, left + size, top + size});
}

void KeypadButton::DrawCaption(HDC dc, const RECT& area, COLORREF colour) const {
    wchar_t caption[64];
    GetWindowTextW(Handle(), caption, 64);
    HGDIOBJ old = SelectObject(dc, Font() ? Font() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    RECT box = area;
    DrawTextW(dc, caption, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

void KeypadButton::DrawRaisedFace(HDC dc, RECT& area) {
    if (HTHEME theme = Theme()) {
        const int part = !available_ ? PBS_DISABLED : pressed_ ? PBS_PRESSED : Hot() ? PBS_HOT : PBS_NORMAL;
        if (IsThemeBackgroundPartiallyTransparent(theme, BP_PUSHBUTTON, part))
            DrawThemeParentBackground(Handle(), dc, &area);
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, part, &area, nullptr);
    } else {
        DrawFrameControl(dc, &area, DFC_BUTTON,
                         DFCS_BUTTONPUSH | (pressed_ ? DFCS_PUSHED : 0) | (available_ ? 0 : DFCS_INACTIVE));
    }
    if (pressed_) OffsetRect(&area, 1, 1);
}

void KeypadButton::DrawFlatFace(HDC dc, const RECT& area) const {
    // The flat button sits on its window's own background and shows a frame under the mouse.
    auto background = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(Handle()), WM_CTLCOLORBTN,
                                                            reinterpret_cast<WPARAM>(dc),
                                                            reinterpret_cast<LPARAM>(Handle())));
    FillRect(dc, &area, background ? background : GetSysColorBrush(COLOR_BTNFACE));
    if (Hot() || pressed_) {
        RECT frame = area;
        DrawEdge(dc, &frame, pressed_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
}

void KeypadButton::Paint(HDC dc) {
    RECT area;
    GetClientRect(Handle(), &area);
    if (look_ == Look::Flat) {
        DrawFlatFace(dc, area);
        DrawCaption(dc, area, GetTextColor(dc));
    } else {
        DrawRaisedFace(dc, area);
        if (picture_)
            DrawPicture(dc, area);
        else
            DrawCaption(dc, area, GetSysColor(available_ ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    }
}

void KeypadButton::SetPressed(bool pressed) {
    if (pressed_ == pressed) return;
    pressed_ = pressed;
    InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT KeypadButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            if (!available_) return 0;
            // No SetFocus here: the focus stays in the field that captures keys.
            tracking_ = true;
            SetCapture(Handle());
            SetPressed(true);
            return 0;
        case WM_MOUSEMOVE:
            if (tracking_) SetPressed(IsInClient(lParam));
            return 0;
        case WM_LBUTTONUP: {
            const bool click = tracking_ && IsInClient(lParam);
            tracking_ = false;
            ReleaseCapture();
            SetPressed(false);
            if (click) Click(BN_CLICKED);
            return 0;
        }
        case WM_RBUTTONUP:
            if (available_) Click(kLongPress);
            return 0;
        case WM_CAPTURECHANGED:
            tracking_ = false;
            SetPressed(false);
            return 0;
        case WM_PAINT:
            return PaintWith([this](HDC dc) { Paint(dc); });
        case WM_ERASEBKGND:
            return 1;
        case WM_GETOBJECT:
            if (LRESULT answer = accessible_.Answer(wParam, lParam)) return answer;
            break;
        case WM_DESTROY:
            accessible_.Disconnect();
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tastolink
