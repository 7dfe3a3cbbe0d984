#pragma once

#include <windows.h>

#include <array>

#include "app/main/keypad_button.h"
#include "app/window/tooltip.h"
#include "app/window/window.h"
#include "phone/phone_key_table.h"
#include "phone/phone_profile.h"
#include "shared/handles_win32.h"

namespace tastolink {

// The keypad panel's 26 buttons, with their pictures, and the tooltip that tells what each sends.
class Keypad {
public:
    enum class Made { Whole, WithoutPicture, Not };
    // Makes the button of `row` in `parent` at `place`. A button whose picture can't be loaded shows
    // its key code instead of nothing.
    Made AddButton(int row, HWND parent, RECT place, HFONT font);
    HWND Button(int row) const { return buttons_[row].Handle(); }
    // Once the window shows: the tooltips are a popup of their own, which Wine backs with an X window.
    void AddTooltips(HWND parent);
    // Each button's tip names the code it sends under `profile` and its long press; a button the
    // profile leaves out is unavailable, and its tip says why.
    void Follow(const PhoneProfile& profile);

private:
    std::array<KeypadButton, kPhoneKeyCount> buttons_;  // by row
    std::array<GdiObject<HBITMAP>, kPhoneKeyCount> pictures_;
    std::array<std::wstring, kPhoneKeyCount> tips_;
    Tooltip tooltip_;
    bool tooltipMade_ = false;
};

}  // namespace tastolink
