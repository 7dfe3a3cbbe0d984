#include "app/author_window.h"

#include <array>
#include <string_view>

#include "app/keypad_button.h"
#include "app/main_window_layout.h"
#include "app/message_loop.h"
#include "app/text_encoding.h"

namespace tastolink {
namespace {

constexpr wchar_t kClassName[] = L"TastolinkAuthorWindow";
constexpr wchar_t kCaption[] = L"Автор";
constexpr int kWidth = 209;
constexpr int kHeight = 60;
constexpr UINT_PTR kCloseTimer = 1;  // Timer1
constexpr UINT kClosePeriodMs = 10000;
constexpr int kCloseButtonId = 1;     // SpeedButton1
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct CreditLine {
    Box box;
    std::string_view text;  // UTF-8
};

constexpr std::array<CreditLine, 3> kCredits{{
    {{8, 8, 190, 13}, "Tastolink: команда разработчиков"},
    {{8, 24, 190, 13}, "tastolink.example  help.tastolink.example"},
    {{8, 40, 87, 13}, "Россия, 2026"},
}};
constexpr Box kCloseButton{104, 40, 97, 17};

}  // namespace

AuthorWindow::~AuthorWindow() {
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
    if (background_) DeleteObject(background_);
}

bool AuthorWindow::Create() {
    background_ = CreateSolidBrush(kBlack);
    WNDCLASSEXW windowClass{sizeof windowClass};
    if (!GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &windowClass)) {
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = kClassName;
        RegisterClassExW(&windowClass);
    }
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, kCaption, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
    if (!window_) return false;
    BuildControls();
    SetTimer(window_, kCloseTimer, kClosePeriodMs, nullptr);
    return true;
}

void AuthorWindow::BuildControls() {
    const int dpi = static_cast<int>(GetDpiForWindow(window_));
    auto scaled = [dpi](int value) { return MulDiv(value, dpi, USER_DEFAULT_SCREEN_DPI); };
    font_ = CreateFontW(-MulDiv(kFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        std::wstring(kFontFace).c_str());
    auto place = [&](HWND control, Box box) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        SetWindowPos(control, nullptr, scaled(box.left), scaled(box.top), scaled(box.width), scaled(box.height),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    for (const CreditLine& line : kCredits)
        place(CreateWindowExW(0, L"STATIC", WideFromUtf8(line.text).c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                              0, 0, 0, 0, window_, nullptr, GetModuleHandleW(nullptr), nullptr),
              line.box);
    place(CreateKeypadButton(window_, kCloseButtonId, L"Закрыть", nullptr, KeypadButtonLook::Flat), kCloseButton);

    const int width = scaled(kWidth);
    const int height = scaled(kHeight);
    SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void AuthorWindow::ShowModal(HWND owner) {
    if (shown_) return;
    shown_ = true;
    SetWindowLongPtrW(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    EnableWindow(owner, FALSE);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    RunMessageLoopWhile([this] { return shown_; });
    // Enable the owner before hiding, so that the activation goes back to it.
    EnableWindow(owner, TRUE);
    ShowWindow(window_, SW_HIDE);
    SetActiveWindow(owner);
}

void AuthorWindow::Close() {
    if (!shown_) return;  // closing the hidden window has no visible effect
    shown_ = false;
    PostMessageW(window_, WM_NULL, 0, 0);  // wake the modal loop
}

LRESULT CALLBACK AuthorWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<AuthorWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<AuthorWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT AuthorWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kCloseTimer) Close();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kCloseButtonId) Close();
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            SetTextColor(reinterpret_cast<HDC>(wParam), kWhite);
            SetBkColor(reinterpret_cast<HDC>(wParam), kBlack);
            return reinterpret_cast<LRESULT>(background_);
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace tastolink
