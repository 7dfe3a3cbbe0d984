#include "app/window/message_boxes.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "app/window/message_loop.h"
#include "app/window/window.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr DWORD kBoxStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

// The simple box: its text wrapped at half the screen's width, one OK that is both the
// default and the cancel button, centred on the screen; modal, with the timers running.
class SimpleMessageBox final : public Window {
public:
    void Show(HWND owner, const std::wstring& text) {
        const std::wstring title = ProgramTitle();
        if (!CreateOfClass({.className = L"TastolinkMessageBox",
                            .style = kBoxStyle,
                            .extendedStyle = WS_EX_DLGMODALFRAME,
                            .caption = title.c_str(),
                            .parent = owner,
                            .background = GetSysColorBrush(COLOR_BTNFACE)}))
            return;
        SetOwnFont(CreateMessageFont());
        LayOut(text);
        const bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
        ShowWindow(Handle(), SW_SHOW);
        SetFocus(ok_);
        RunMessageLoopWhile([this] { return open_; }, Handle());
        if (ownerWasEnabled) EnableWindow(owner, TRUE);
        DestroyWindow(Handle());
    }

private:
    HFONT CreateMessageFont() const {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, Dpi()))
            SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }

    SIZE MeasureWrapped(const std::wstring& text, int maxWidth) const {
        HDC dc = GetDC(Handle());
        HGDIOBJ old = SelectObject(dc, Font());
        RECT bounds{0, 0, maxWidth, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        SelectObject(dc, old);
        ReleaseDC(Handle(), dc);
        return {bounds.right - bounds.left, bounds.bottom - bounds.top};
    }

    void LayOut(const std::wstring& text) {
        const int margin = Scaled(kMargin);
        const int buttonWidth = Scaled(kButtonWidth);
        const int buttonHeight = Scaled(kButtonHeight);
        const SIZE measured = MeasureWrapped(text, GetSystemMetrics(SM_CXSCREEN) / 2);
        const int clientWidth = std::max<int>(measured.cx, buttonWidth) + 2 * margin;
        const int clientHeight = margin + measured.cy + margin + buttonHeight + margin;

        AddControl({.windowClass = WC_STATICW,
                    .text = text.c_str(),
                    .style = SS_LEFT | SS_NOPREFIX,
                    .place = {margin, margin, margin + measured.cx, margin + measured.cy}});
        const int okLeft = (clientWidth - buttonWidth) / 2, okTop = margin + measured.cy + margin;
        ok_ = AddControl({.windowClass = WC_BUTTONW,
                          .text = L"OK",
                          .style = WS_TABSTOP | BS_DEFPUSHBUTTON,
                          .id = IDOK,
                          .place = {okLeft, okTop, okLeft + buttonWidth, okTop + buttonHeight}});

        RECT frame{0, 0, clientWidth, clientHeight};
        AdjustWindowRectExForDpi(&frame, kBoxStyle, FALSE, WS_EX_DLGMODALFRAME, Dpi());
        SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        CentreOnMonitor();
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_COMMAND:
                // OK is both the default and the cancel button: Enter and Esc close the box.
                if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) open_ = false;
                return 0;
            case WM_CLOSE:
                open_ = false;
                return 0;
        }
        return Window::HandleMessage(message, wParam, lParam);
    }

    HWND ok_ = nullptr;
    bool open_ = true;
};

void WriteLineTo(DWORD stream, const std::string& utf8Line) {
    const std::string line = utf8Line + "\r\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(stream), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

std::wstring ProgramTitleFromPath(const std::wstring& modulePath) {
    std::wstring name = modulePath.substr(modulePath.find_last_of(L"\\/") + 1);
    name = name.substr(0, name.find(L'.'));
    if (name.size() > 1) CharLowerBuffW(name.data() + 1, static_cast<DWORD>(name.size() - 1));
    return name;
}

std::wstring ProgramTitle() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return ProgramTitleFromPath(path);
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ErrorBoxText(const std::wstring& message) {
    if (!message.empty() && message.back() > L'.') return message + L'.';
    return message;
}

void ScreenMessages::ShowSimpleMessage(HWND owner, const std::string& utf8Text) {
    SimpleMessageBox().Show(owner, WideFromUtf8(utf8Text));
}

void WriteToStandardError(const std::string& utf8Line) { WriteLineTo(STD_ERROR_HANDLE, utf8Line); }

void WriteToStandardOutput(const std::string& utf8Line) { WriteLineTo(STD_OUTPUT_HANDLE, utf8Line); }

void UnattendedMessages::ShowSimpleMessage(HWND, const std::string& utf8Text) {
    WriteToStandardError(utf8Text);
}

void UnattendedMessages::ShowError(HWND, const std::string& utf8Message) {
    WriteToStandardError(Utf8FromWide(ErrorBoxText(WideFromUtf8(utf8Message))));
}

void ScreenMessages::ShowError(HWND owner, const std::string& utf8Message) {
    MessageBoxW(owner, ErrorBoxText(WideFromUtf8(utf8Message)).c_str(), ProgramTitle().c_str(),
                MB_OK | MB_ICONSTOP);
}

}  // namespace tastolink
