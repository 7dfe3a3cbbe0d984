#pragma once

#include <string>

#include "app/window/accessible.h"
#include "app/window/window.h"

namespace tastolink {

// A button that never takes the keyboard focus, so key capture goes on while the mouse is
// used. It sends WM_COMMAND/BN_CLICKED to its parent once per press and release over it.
// Its text is its caption; an optional bitmap (white drawn transparent) replaces it. The
// flat look draws a frame only under the mouse.
class KeypadButton final : public Window, private AccessibleFace {
public:
    enum class Look { Raised, Flat };
    // A right click sends WM_COMMAND with this notification code instead of BN_CLICKED: hold the key.
    static constexpr WORD kLongPress = 0x4C50;

    ~KeypadButton() override { Destroy(); }

    // `name` is what assistive technology calls the button (the phone key it presses).
    bool Create(HWND parent, int id, const wchar_t* caption, HBITMAP picture, Look look, RECT place,
                std::wstring name);
    // An unavailable button is drawn disabled and sends nothing. It stays enabled as a window: a
    // disabled one gets no mouse, and so could show no tip to say why it does nothing.
    void SetAvailable(bool available);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc);
    void DrawRaisedFace(HDC dc, RECT& area);
    void DrawFlatFace(HDC dc, const RECT& area) const;
    void DrawCaption(HDC dc, const RECT& area, COLORREF colour) const;
    void DrawPicture(HDC dc, const RECT& area) const;
    void SetPressed(bool pressed);
    void Click(WORD notification);

    // AccessibleFace
    HWND AccessibleWindow() const override { return Handle(); }
    long Role() const override { return ROLE_SYSTEM_PUSHBUTTON; }
    std::wstring Name() const override { return name_; }
    long State() const override {
        return (pressed_ ? STATE_SYSTEM_PRESSED : 0) | (available_ ? 0 : STATE_SYSTEM_UNAVAILABLE);
    }
    std::wstring DefaultAction() const override { return L"Нажать"; }
    void DoDefaultAction() override {
        if (available_) Click(BN_CLICKED);
    }

    HBITMAP picture_ = nullptr;
    Look look_ = Look::Raised;
    std::wstring name_;
    bool tracking_ = false;  // the left button went down on us and is still down
    bool pressed_ = false;   // ... and the mouse is over us
    bool available_ = true;
    AccessibleObject accessible_{*this};
};

}  // namespace tastolink
