#pragma once

#include "app/window.h"

namespace tastolink {

// A button that never takes the keyboard focus, so key capture goes on while the mouse is
// used. It sends WM_COMMAND/BN_CLICKED to its parent once per press and release over it.
// Its text is its caption; an optional bitmap (white drawn transparent) replaces it. The
// flat look draws a frame only under the mouse.
class KeypadButton : public Window {
public:
    enum class Look { Raised, Flat };
    // A right click sends WM_COMMAND with this notification code instead of BN_CLICKED: hold the key.
    static constexpr WORD kLongPress = 0x4C50;

    bool Create(HWND parent, int id, const wchar_t* caption, HBITMAP picture, Look look, RECT place);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc);
    void DrawRaisedFace(HDC dc, RECT& area) const;
    void DrawFlatFace(HDC dc, const RECT& area) const;
    void DrawCaption(HDC dc, const RECT& area, COLORREF colour) const;
    void DrawPicture(HDC dc, const RECT& area) const;
    void SetPressed(bool pressed);
    void SetHot(bool hot);
    bool CursorInside(LPARAM lParam) const;

    HBITMAP picture_ = nullptr;
    Look look_ = Look::Raised;
    HFONT font_ = nullptr;
    bool tracking_ = false;  // the left button went down on us and is still down
    bool pressed_ = false;   // ... and the mouse is over us
    bool hot_ = false;
};

}  // namespace tastolink
