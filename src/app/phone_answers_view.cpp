#include "app/phone_answers_view.h"

#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>
#include <windowsx.h>

#include <array>
#include <exception>

#include "app/keypad_button.h"
#include "app/main_window_layout.h"
#include "settings/answers_switch.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

constexpr int kMenuAnswers = 1450;
constexpr int kStatusBarId = 1451;
constexpr UINT_PTR kSilenceTimer = 14;
constexpr UINT kWakeMessage = WM_APP + 14;
// A phone answers a keypad command within a few tenths of a second; a second of silence is none.
constexpr UINT kSilenceMs = 1000;

constexpr char kMenuItemText[] = "Ответы телефона";
constexpr char kSettingsMenu[] = "Настройки";
constexpr char kLongPressTip[] = "Правая кнопка мыши: долгое нажатие (2 с)";
// Right edges of the bar's parts at 96 dpi: port, last key and answer, the phone's own lines, counts.
constexpr std::array<int, 4> kPartEdges{88, 228, 300, -1};

}  // namespace

PhoneAnswersView::PhoneAnswersView(PortOpener& plainPorts, SettingsFiles& files, UserMessages& messages,
                                   std::function<void(int row)> longPress)
    : files_(files),
      messages_(messages),
      longPress_(std::move(longPress)),
      inbox_(std::make_shared<PortEventInbox>([this] { PostMessageW(window_.load(), kWakeMessage, 0, 0); })),
      answering_(inbox_),
      ports_(*this, plainPorts) {}

void PhoneAnswersView::Attach(HWND window) {
    window_ = window;
    on_ = LoadAnswersSwitch(files_);
    AddMenuItem();
    if (on_) ShowBar(true);
}

void PhoneAnswersView::AddMenuItem() {
    HMENU bar = GetMenu(window_);
    const std::wstring wanted = WideFromUtf8(kSettingsMenu);
    for (int index = 0; index < GetMenuItemCount(bar); ++index) {
        wchar_t text[64] = {};
        GetMenuStringW(bar, static_cast<UINT>(index), text, 64, MF_BYPOSITION);
        if (wanted != text) continue;
        AppendMenuW(GetSubMenu(bar, index), MF_STRING | (on_ ? MF_CHECKED : MF_UNCHECKED), kMenuAnswers,
                    WideFromUtf8(kMenuItemText).c_str());
        DrawMenuBar(window_);
        return;
    }
}

void PhoneAnswersView::AddKeypadTooltips() {
    tooltips_ = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    std::wstring tip = WideFromUtf8(kLongPressTip);
    for (const PhoneKey& key : kPhoneKeyTable) {
        TTTOOLINFOW tool{sizeof tool};
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window_, SpeedButtonId(key.keypadButton)));
        tool.lpszText = tip.data();
        SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

bool PhoneAnswersView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kMenuAnswers) {
                Toggle();
                return true;
            }
            if (HIWORD(wParam) == KeypadButton::kLongPress) {
                const int row = RowOfKeypadButton(LOWORD(wParam) - kSpeedButtonIdBase);
                try {
                    if (row >= 0) longPress_(row);
                } catch (const std::exception& error) {
                    messages_.ShowError(window_, error.what());
                }
                return true;
            }
            return false;
        case kWakeMessage:
            TakeEvents();
            return true;
        case WM_TIMER:
            if (wParam != kSilenceTimer) return false;
            status_.Silence();
            if (!status_.Expecting()) KillTimer(window_, kSilenceTimer);
            Refresh();
            return true;
        case WM_SIZE:
            // The window's layout sets the client size it knows; the bar adds its own height below it.
            if (bar_ && wParam != SIZE_MINIMIZED) {
                SetWindowFont(bar_, GetWindowFont(GetDlgItem(window_, kButton3)), FALSE);
                SendMessageW(bar_, WM_SIZE, 0, 0);
                RECT bar;
                GetWindowRect(bar_, &bar);
                if (HIWORD(lParam) != Scaled(kClientHeight) + bar.bottom - bar.top) FitWindow();
                Refresh();
            }
            return false;
    }
    return false;
}

void PhoneAnswersView::Toggle() {
    on_ = !on_;
    CheckMenuItem(GetMenu(window_), kMenuAnswers, MF_BYCOMMAND | (on_ ? MF_CHECKED : MF_UNCHECKED));
    ShowBar(on_);
    try {
        SaveAnswersSwitch(files_, on_);
    } catch (const std::exception& error) {
        messages_.ShowError(window_, error.what());  // the choice holds until the program ends
    }
}

void PhoneAnswersView::ShowBar(bool show) {
    if (show && !bar_) {
        bar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)),
                               GetModuleHandleW(nullptr), nullptr);
    } else if (!show && bar_) {
        DestroyWindow(bar_);
        bar_ = nullptr;
        KillTimer(window_, kSilenceTimer);
    }
    FitWindow();
}

// The client size the layout gives, plus the bar's height when there is one.
void PhoneAnswersView::FitWindow() {
    int barHeight = 0;
    if (bar_) {
        SendMessageW(bar_, WM_SIZE, 0, 0);
        RECT bar;
        GetWindowRect(bar_, &bar);
        barHeight = bar.bottom - bar.top;
    }
    RECT frame{0, 0, Scaled(kClientWidth), Scaled(kClientHeight) + barHeight};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), TRUE,
                             static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)),
                             GetDpiForWindow(window_));
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PhoneAnswersView::TakeEvents() {
    for (const PortEvent& event : inbox_->TakeAll()) {
        switch (event.kind) {
            case PortEvent::Kind::Opened:
                status_.PortOpened(event.text);
                break;
            case PortEvent::Kind::FailedOpen:
                status_.PortFailed(event.text, event.reason);
                break;
            case PortEvent::Kind::Lost:
                status_.PortLost(event.text);
                break;
            case PortEvent::Kind::Received:
                status_.Received(event.text);
                break;
            case PortEvent::Kind::Dropped:
                status_.Dropped();
                break;
            case PortEvent::Kind::Written:
                status_.Sent(event.text);
                SetTimer(window_, kSilenceTimer, kSilenceMs, nullptr);
                break;
        }
    }
    if (!status_.Expecting()) KillTimer(window_, kSilenceTimer);
    Refresh();
}

void PhoneAnswersView::Refresh() {
    if (!bar_) return;
    std::array<int, kPartEdges.size()> edges{};
    for (std::size_t part = 0; part < edges.size(); ++part)
        edges[part] = kPartEdges[part] < 0 ? -1 : Scaled(kPartEdges[part]);
    SendMessageW(bar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    const std::array<std::string, 4> texts{status_.Port(), status_.LastKey(), status_.Unsolicited(),
                                           status_.Counts()};
    for (std::size_t part = 0; part < texts.size(); ++part)
        SendMessageW(bar_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(WideFromUtf8(texts[part]).c_str()));
}

int PhoneAnswersView::Scaled(int value) const {
    return MulDiv(value, static_cast<int>(GetDpiForWindow(window_)), USER_DEFAULT_SCREEN_DPI);
}

}  // namespace tastolink
