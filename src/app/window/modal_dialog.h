#pragma once

#include <windows.h>

#include "app/window/window.h"

namespace tastolink {

// The base of the program's dialogs: made centred at its size over a disabled owner, it runs its
// own loop until it ends. The keys work as in a dialog of the system's: Tab and Shift+Tab move
// the focus over the tab stops, Enter clicks the push button with the focus or else OK, and Esc,
// Отмена (IDCANCEL) and the close end it. Every key is taken before a control sees it, so that a
// multi-line field types no Tab and no line break. A class makes its controls and handles their
// commands.
class ModalDialog : public Window {
public:
    bool PreTranslateMessage(MSG& message) override;

protected:
    struct Look {
        const wchar_t* className;
        const wchar_t* caption;
        SIZE client;  // at 96 dpi
    };
    explicit ModalDialog(Look look) : look_(look) {}

    // Shows the dialog over `owner`, the focus on its first tab stop, until it ends; whether it
    // ended by End(true). An owner that was enabled is enabled again before the dialog goes, so
    // that the activation goes back to it. Throws std::runtime_error, naming the dialog, when it
    // can't be made.
    bool RunModal(HWND owner);
    // Ends the loop; `accepted` is what RunModal answers.
    void End(bool accepted);

    // Makes the controls, in tab order, with the window's font; false when one can't be made.
    virtual bool BuildControls() = 0;
    // A control's command; IDCANCEL never comes here.
    virtual void OnCommand(int id, WORD notification) = 0;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The window, its font and its controls; false when one of them can't be made.
    bool Make(HWND owner);
    // Enter: the push button with the focus, or else OK.
    void ClickDefault();

    Look look_;
    bool open_ = false;
    bool accepted_ = false;
};

}  // namespace tastolink
