#pragma once

#include <windows.h>

namespace tastolink {

// Form2: a small borderless credits window, created hidden at start-up and shown
// modally from the menu. Its own timer closes it every ten seconds from creation on.
class AuthorWindow {
public:
    AuthorWindow() = default;
    ~AuthorWindow();
    AuthorWindow(const AuthorWindow&) = delete;
    AuthorWindow& operator=(const AuthorWindow&) = delete;

    bool Create();
    // Shows the window over the disabled owner and returns when it has been closed.
    void ShowModal(HWND owner);
    void Close();

    HWND Handle() const { return window_; }
    bool IsShown() const { return shown_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildControls();

    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH background_ = nullptr;
    bool shown_ = false;
};

}  // namespace tastolink
