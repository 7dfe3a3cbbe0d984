#include "app/main/author_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string_view>

#include "app/main/main_window_layout.h"
#include "app/window/message_loop.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

constexpr int kWidth = 209;
constexpr int kHeight = 60;
constexpr UINT_PTR kCloseTimer = 1;  // Timer1
constexpr UINT kClosePeriodMs = 10000;
constexpr int kCloseButtonId = 1;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct CreditLine {
    Box box;
    std::string_view text;  // UTF-8
};

// clang-format off
constexpr std::array<CreditLine, 3> kCredits{{
    {{8, 8, 190, 13}, "Tastolink: команда разработчиков"},
    {{8, 24, 190, 13}, "tastolink.example  help.tasto.example"},
    {{8, 40, 87, 13}, "Россия, 2026"},
}};
// clang-format on
constexpr Box kCloseButton{104, 40, 97, 17};

}  // namespace

bool AuthorWindow::Create() {
    background_.Reset(CreateSolidBrush(kBlack));
    if (!CreateOfClass({.className = L"TastolinkAuthorWindow",
                        .style = WS_POPUP,
                        .extendedStyle = WS_EX_TOOLWINDOW,
                        .caption = L"Автор",
                        .background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))}))
        return false;
    return BuildControls() && SetTimer(Handle(), kCloseTimer, kClosePeriodMs, nullptr);
}

bool AuthorWindow::BuildControls() {
    SetOwnFont(CreateUiFont(Dpi()));
    for (const CreditLine& line : kCredits) {
        // One line each: a label never wraps onto a line that its height hides.
        if (!AddControl({.windowClass = WC_STATICW,
                         .text = WideFromUtf8(line.text).c_str(),
                         .style = SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                         .place = ScaledRect(line.box)}))
            return false;
    }
    if (!closeButton_.Create(Handle(), kCloseButtonId, L"Закрыть", nullptr, KeypadButton::Look::Flat,
                             ScaledRect(kCloseButton), L"Закрыть"))
        return false;
    SetWindowFont(closeButton_.Handle(), Font(), FALSE);
    SetWindowPos(Handle(), nullptr, 0, 0, Scaled(kWidth), Scaled(kHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CentreOnMonitor();
    return true;
}

void AuthorWindow::ShowModal(HWND owner) {
    if (shown_) return;
    shown_ = true;
    SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    EnableWindow(owner, FALSE);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    RunMessageLoopWhile([this] { return shown_; });
    // Enable the owner before hiding, so that the activation goes back to it.
    EnableWindow(owner, TRUE);
    ShowWindow(Handle(), SW_HIDE);
    SetActiveWindow(owner);
}

void AuthorWindow::Close() {
    if (!shown_) return;  // closing the hidden window has no visible effect
    shown_ = false;
    PostMessageW(Handle(), WM_NULL, 0, 0);  // wake the modal loop
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
            return reinterpret_cast<LRESULT>(background_.Get());
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tastolink
