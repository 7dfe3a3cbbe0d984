#include "app/main/select_on_focus.h"

#include <windowsx.h>

#include <memory>

#include "app/window/window.h"

namespace tastolink {
namespace {

class SelectOnFocus final : public Window {
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        const LRESULT result = Window::HandleMessage(message, wParam, lParam);
        if (message == WM_SETFOCUS && !(GetKeyState(VK_LBUTTON) & 0x8000))
            Edit_SetSel(Handle(), GetWindowTextLengthW(Handle()), 0);
        return result;
    }
};

}  // namespace

void SelectWholeTextOnFocus(HWND edit) { Window::SubclassForLife(edit, std::make_unique<SelectOnFocus>()); }

}  // namespace tastolink
