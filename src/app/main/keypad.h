#pragma once

#include <windows.h>

#include <array>

#include "app/main/keypad_button.h"
#include "app/window/tooltip.h"
#include "app/window/window.h"
#include "phone/phone_key_table.h"
#include "shared/handles_win32.h"

namespace tastolink {

// The keypad panel's 26 buttons, with their pictures, and the tooltip that tells of the long press.
class Keypad {
public:
    enum class Made { Whole, WithoutPicture, Not };
    // Makes the button of `row` in `parent` at `place`. A button whose picture can't be loaded shows
    // its key code instead of nothing.
    Made AddButton(int row, HWND parent, RECT place, HFONT font);
    HWND Button(int row) const { return buttons_[row].Handle(); }
    // Once the window shows: the tooltips are a popup of their own, which Wine backs with an X window.
    void AddTooltips(HWND parent);

private:
    std::array<KeypadButton, kPhoneKeyCount> buttons_;  // by row
    std::array<GdiObject<HBITMAP>, kPhoneKeyCount> pictures_;
    Tooltip tips_;
};

}  // namespace tastolink
