#pragma once

#include <array>

#include "app/main/keypad_button.h"
#include "app/window/window.h"

namespace tastolink {

// Form2: a small borderless credits window, created hidden at start-up and shown
// modally from the menu. Its own timer closes it every ten seconds from creation on.
class AuthorWindow final : public Window {
public:
    // False when the window, its controls or its timer could not be made.
    bool Create();
    // Shows the window over the disabled owner and returns when it has been closed.
    void ShowModal(HWND owner);
    void Close();
    bool IsShown() const { return shown_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool BuildControls();

    GdiObject<HBRUSH> background_;
    KeypadButton closeButton_;  // SpeedButton1
    bool shown_ = false;
};

}  // namespace tastolink
